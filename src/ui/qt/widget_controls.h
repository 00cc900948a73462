#pragma once
// The control kinds over Qt widgets. Texts cross between UTF-8 and QString here and nowhere else.
// Changes made by the program block the widget's signals, so only the operator raises events.
#include <QString>
#include <string>
#include <string_view>

#include "view/batched_list.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QWidget;

namespace zk::ui {

// A text of the program (UTF-8) as Qt's, and back.
QString q(std::string_view text);
std::string u8(const QString& text);

class QtEditBox final : public EditBox
{
public:
    using Widget = QLineEdit;
    explicit QtEditBox(QLineEdit* widget) : widget_(widget) {}
    std::string content() const override;
    void set_content(std::string_view text) override;

private:
    QLineEdit* widget_;
};

class QtLabel final : public Label
{
public:
    using Widget = QLabel;
    explicit QtLabel(QLabel* widget) : widget_(widget) {}
    std::string caption() const override;
    void set_caption(std::string_view text) override;

private:
    QLabel* widget_;
};

class QtCheckBox final : public CheckBox
{
public:
    using Widget = QCheckBox;
    explicit QtCheckBox(QCheckBox* widget) : widget_(widget) {}
    bool checked() const override;
    void set_checked(bool on) override;

private:
    QCheckBox* widget_;
};

class QtTabControl final : public TabControl
{
public:
    using Widget = QTabWidget;
    explicit QtTabControl(QTabWidget* widget) : widget_(widget) {}
    int current_page() const override;

private:
    QTabWidget* widget_;
};

class QtComboList final : public ItemList
{
public:
    using Widget = QComboBox;
    explicit QtComboList(QComboBox* widget) : widget_(widget) {}
    int item_count() const override;
    std::string item_text(int index) const override;
    int add_item(std::string_view text) override;
    bool delete_item(int index) override;
    bool set_item_text(int index, std::string_view text) override;
    int selection() const override;

protected:
    void select_exactly(int index) override;

private:
    QComboBox* widget_;
};

// Rows are all one height, so adding one costs no measuring of the others.
class QtListBox final : public view::BatchedListBox
{
public:
    using Widget = QListWidget;
    // Its timer runs on the calling thread's dispatcher.
    explicit QtListBox(QListWidget* widget);
    int selection() const override;

protected:
    int shown() const override;
    std::string shown_text(int index) const override;
    void show(const std::vector<std::string>& texts) override;
    void remove(int index) override;
    void replace(int index, std::string_view text) override;
    void clear() override;
    void select_shown(int index) override;

private:
    QListWidget* widget_;
};

// Each message in its own box titled "信息：" with one OK button, modal for the whole program
// but not blocking the event loop, so datagrams keep arriving while it is open. The box opens
// over its owner window, never behind it.
class QtMessageBoxes final : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
    void message_box(std::string_view text) override;

private:
    QWidget* owner_;
};

} // namespace zk::ui
