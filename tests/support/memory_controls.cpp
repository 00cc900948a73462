#include "support/memory_controls.h"

#include "view/layout.h"

namespace zk::test {

int MemoryItemList::item_count() const
{
    return static_cast<int>(items_.size());
}

std::string MemoryItemList::item_text(int index) const
{
    return index < 0 || index >= item_count() ? std::string{}
                                              : items_[static_cast<std::size_t>(index)];
}

int MemoryItemList::add_item(std::string_view text)
{
    items_.emplace_back(text);
    return item_count() - 1;
}

bool MemoryItemList::set_item_text(int index, std::string_view text)
{
    if (index < 0 || index >= item_count()) return false;
    items_[static_cast<std::size_t>(index)] = std::string(text);
    return true;
}

bool MemoryItemList::delete_item(int index)
{
    if (index < 0 || index >= item_count()) return false;
    items_.erase(items_.begin() + index);
    // A list box keeps its selection on the same item, or loses it with the item.
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    return true;
}

namespace {

void fill_from_layout(MemoryItemList& list, std::string_view name)
{
    const view::ControlLayout* entry = view::find_control(view::settings_window_layout(), name);
    for (std::string_view item : entry->items)
        list.add_item(item);
}

} // namespace

MemorySettingsWindow::MemorySettingsWindow()
{
    fill_from_layout(组合框波特率, "组合框波特率");
    fill_from_layout(组合框校验方式, "组合框校验方式");
    fill_from_layout(组合框转换码, "组合框转换码");
}

std::unique_ptr<EditBox> MemoryControlFactory::edit(const view::ControlLayout& entry)
{
    return std::make_unique<MemoryEditBox>(std::string(entry.text));
}

std::unique_ptr<Label> MemoryControlFactory::label(const view::ControlLayout& entry)
{
    return std::make_unique<MemoryLabel>(std::string(entry.text));
}

std::unique_ptr<CheckBox> MemoryControlFactory::check(const view::ControlLayout&)
{
    return std::make_unique<MemoryCheckBox>();
}

std::unique_ptr<TabControl> MemoryControlFactory::tab(const view::ControlLayout&)
{
    return std::make_unique<MemoryTabControl>();
}

std::unique_ptr<ItemList> MemoryControlFactory::combo(const view::ControlLayout& entry)
{
    return std::make_unique<MemoryItemList>(
        std::vector<std::string>(entry.items.begin(), entry.items.end()));
}

std::unique_ptr<ItemList> MemoryControlFactory::list(const view::ControlLayout&)
{
    return std::make_unique<MemoryItemList>();
}

} // namespace zk::test
