#include "app/adapter_list.h"

#include <climits>

#include "base/text.h"

namespace zk {

AdapterList::AdapterList(ItemList& combo, AdapterSource& source, SettingsFile& file)
    : combo_(combo), source_(source), file_(file)
{}

void AdapterList::fill()
{
    const int remembered = combo_.selection();
    combo_.delete_all_items();
    adapters_ = source_.list();
    for (const Adapter& adapter : adapters_)
        combo_.add_item(adapter.text);
    apply_position(remembered);
}

void AdapterList::restore()
{
    if (combo_.item_count() == 0) return;
    const std::string saved = file_.read(adapter_section, adapter_key, "");
    if (saved.empty()) {
        // No choice yet: adapter 0 is often one that cannot reach anything (a virtual or
        // unplugged one), which leaves 本机IP empty on a first start.
        apply_position(first_usable_position());
        return;
    }
    apply_position(to_integer(to_number(saved)));
}

std::int64_t AdapterList::first_usable_position() const
{
    for (std::size_t i = 0; i < adapters_.size(); ++i) {
        if (adapters_[i].connected && !adapters_[i].first_ipv4.empty())
            return static_cast<std::int64_t>(i);
    }
    return 0;
}

void AdapterList::remember(MessageBoxes& boxes)
{
    if (file_.write(adapter_section, adapter_key, to_text(std::int64_t{combo_.selection()})))
        return;
    if (told_unsaved_) return;
    told_unsaved_ = true;
    boxes.message_box(unsaved_settings_message(file_.location()));
}

std::string unsaved_settings_message(const std::filesystem::path& file)
{
    const std::u8string name = file.u8string();
    return "设置文件无法保存：" + std::string(name.begin(), name.end());
}

int AdapterList::selected_interface() const
{
    const int index = combo_.selection();
    if (index < 0 || static_cast<std::size_t>(index) >= adapters_.size()) return 0;
    return adapters_[static_cast<std::size_t>(index)].interface_index;
}

void AdapterList::apply_position(std::int64_t position)
{
    if (combo_.item_count() < position) {
        combo_.set_selection(-1);
        return;
    }
    // At most one past the end here; below INT_MIN it clears just as -2 does.
    combo_.set_selection(position < INT_MIN ? -1 : static_cast<int>(position));
}

} // namespace zk
