#pragma once
// The control kinds over Qt widgets. Texts cross between UTF-8 and QString here and nowhere else.
// Changes made by the program block the widget's signals, so only the operator raises events.
#include <QElapsedTimer>
#include <QStringList>
#include <memory>

#include "view/controls.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTimer;
class QWidget;

namespace zk::ui {

class QtEditBox final : public EditBox
{
public:
    explicit QtEditBox(QLineEdit* widget) : widget_(widget) {}
    std::string content() const override;
    void set_content(std::string_view text) override;

private:
    QLineEdit* widget_;
};

class QtLabel final : public Label
{
public:
    explicit QtLabel(QLabel* widget) : widget_(widget) {}
    std::string caption() const override;
    void set_caption(std::string_view text) override;

private:
    QLabel* widget_;
};

class QtCheckBox final : public CheckBox
{
public:
    explicit QtCheckBox(QCheckBox* widget) : widget_(widget) {}
    bool checked() const override;
    void set_checked(bool on) override;

private:
    QCheckBox* widget_;
};

class QtTabControl final : public TabControl
{
public:
    explicit QtTabControl(QTabWidget* widget) : widget_(widget) {}
    int current_page() const override;

private:
    QTabWidget* widget_;
};

class QtComboList final : public ItemList
{
public:
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

// Thousands of controllers answer one search within a fraction of a second. Rows are all one
// height, so adding one costs no measuring of the others, and additions wait in the adapter to be
// added together: once no addition came for a moment, or at the latest a few times a second.
// Handlers see the waiting items as items of the list all along.
class QtListBox final : public ItemList
{
public:
    explicit QtListBox(QListWidget* widget);
    ~QtListBox() override;
    int item_count() const override;
    std::string item_text(int index) const override;
    int add_item(std::string_view text) override;
    bool delete_item(int index) override;
    bool set_item_text(int index, std::string_view text) override;
    int selection() const override;

    // Empties the widget in one step: a search after thousands of answers does not remove them
    // one by one.
    void delete_all_items() override;
    // Puts the waiting additions into the widget now.
    void flush();

protected:
    void select_exactly(int index) override;

private:
    QListWidget* widget_;
    QStringList waiting_;
    std::unique_ptr<QTimer> timer_; // fires when additions have stopped for a while
    QElapsedTimer first_waiting_;
    QElapsedTimer quiet_armed_; // when the timer was last started
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
