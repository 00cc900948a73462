#include "ui/qt/widget_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTabWidget>

namespace zk::ui {

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string u8(const QString& text)
{
    return text.toStdString();
}

std::string QtEditBox::content() const
{
    return u8(widget_->text());
}

void QtEditBox::set_content(std::string_view text)
{
    const QSignalBlocker quiet(widget_);
    widget_->setText(q(text));
}

std::string QtLabel::caption() const
{
    return u8(widget_->text());
}

void QtLabel::set_caption(std::string_view text)
{
    widget_->setText(q(text));
}

bool QtCheckBox::checked() const
{
    return widget_->isChecked();
}

void QtCheckBox::set_checked(bool on)
{
    const QSignalBlocker quiet(widget_);
    widget_->setChecked(on);
}

int QtTabControl::current_page() const
{
    return widget_->currentIndex();
}

int QtComboList::item_count() const
{
    return widget_->count();
}

std::string QtComboList::item_text(int index) const
{
    return index < 0 || index >= widget_->count() ? std::string{} : u8(widget_->itemText(index));
}

int QtComboList::add_item(std::string_view text)
{
    const QSignalBlocker quiet(widget_);
    // A combo box selects its first item by itself; this one starts without a selection.
    const int before = widget_->currentIndex();
    widget_->addItem(q(text));
    widget_->setCurrentIndex(before);
    return widget_->count() - 1;
}

bool QtComboList::delete_item(int index)
{
    if (index < 0 || index >= widget_->count()) return false;
    const QSignalBlocker quiet(widget_);
    widget_->removeItem(index);
    return true;
}

bool QtComboList::set_item_text(int index, std::string_view text)
{
    if (index < 0 || index >= widget_->count()) return false;
    const QSignalBlocker quiet(widget_);
    widget_->setItemText(index, q(text));
    return true;
}

int QtComboList::selection() const
{
    return widget_->currentIndex();
}

void QtComboList::select_exactly(int index)
{
    const QSignalBlocker quiet(widget_);
    widget_->setCurrentIndex(index);
}

QtListBox::QtListBox(QListWidget* widget)
    : view::BatchedListBox(Dispatcher::current()), widget_(widget)
{
    widget_->setUniformItemSizes(true);
}

int QtListBox::shown() const
{
    return widget_->count();
}

std::string QtListBox::shown_text(int index) const
{
    const QListWidgetItem* item = widget_->item(index);
    return item ? u8(item->text()) : std::string{};
}

void QtListBox::show(const std::vector<std::string>& texts)
{
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        rows.append(q(text));
    const QSignalBlocker quiet(widget_);
    widget_->addItems(rows);
}

void QtListBox::remove(int index)
{
    const QSignalBlocker quiet(widget_);
    delete widget_->takeItem(index);
}

void QtListBox::replace(int index, std::string_view text)
{
    const QSignalBlocker quiet(widget_);
    widget_->item(index)->setText(q(text));
}

void QtListBox::clear()
{
    const QSignalBlocker quiet(widget_);
    widget_->clear();
}

int QtListBox::selection() const
{
    const QList<QListWidgetItem*> picked = widget_->selectedItems();
    return picked.isEmpty() ? -1 : widget_->row(picked.front());
}

void QtListBox::select_shown(int index)
{
    const QSignalBlocker quiet(widget_);
    if (index < 0) {
        widget_->clearSelection();
        widget_->setCurrentRow(-1);
    } else {
        widget_->setCurrentRow(index);
    }
}

void QtMessageBoxes::message_box(std::string_view text)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, q(message_box_title), q(text), QMessageBox::Ok,
                                owner_);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

} // namespace zk::ui
