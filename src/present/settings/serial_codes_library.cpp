#include "present/settings/serial_codes_library.h"

#include <array>

#include "base/text.h"
#include "base/values.h"
#include "present/settings/serial_codes.h"
#include "protocol/code_text.h"
#include "protocol/request.h"

namespace zk::present {

namespace {

// The item whose text is exactly `text`, or -1: "1200" must not pick "115200"'s neighbours.
int item_with_text(const ItemList& list, const std::string& text)
{
    for (int i = 0; i < list.item_count(); ++i) {
        if (list.item_text(i) == text) return i;
    }
    return -1;
}

} // namespace

void fill_projector_list(ItemList& list, const std::vector<projectors::ProjectorEntry>& entries)
{
    list.delete_all_items();
    for (const projectors::ProjectorEntry& entry : entries)
        list.add_item(projectors::entry_name(entry));
    list.add_item(item_load_file);
    list.add_item(item_save_file);
}

ProjectorItem projector_item(int index, std::size_t entry_count)
{
    if (index < 0) return ProjectorItem::none;
    const auto at = static_cast<std::size_t>(index);
    if (at < entry_count) return ProjectorItem::entry;
    if (at == entry_count) return ProjectorItem::load_file;
    if (at == entry_count + 1) return ProjectorItem::save_file;
    return ProjectorItem::none;
}

void apply_projector_entry(SettingsView& view,
                           const projectors::ProjectorEntry& entry,
                           std::string_view from)
{
    view.组合框波特率.set_selection(item_with_text(view.组合框波特率, std::to_string(entry.baud)));
    view.组合框校验方式.set_selection(entry.parity);
    const auto boxes = code_boxes(view);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i].box.set_content(hex_bytes_text(entry.codes[i]));
    view.标签状态.set_caption(concat({"已填入", from, "的串口码,请按写串口码写入中控"}));
}

std::variant<projectors::ProjectorEntry, std::string> room_codes_from_page(SettingsView& view)
{
    projectors::ProjectorEntry room;
    const double baud = to_number(view.组合框波特率.selected_text());
    room.baud = static_cast<std::uint32_t>(baud);
    if (!projectors::baud_selectable(room.baud)) return std::string("请先选择波特率");
    const int parity = view.组合框校验方式.selection();
    if (parity < 0 || parity > 2) return std::string("请先选择校验方式");
    room.parity = static_cast<std::uint8_t>(parity);
    auto codes = codes_in_boxes(view);
    if (auto* bad = std::get_if<std::string>(&codes)) return std::move(*bad);
    room.codes = std::get<std::array<Bytes, 4>>(std::move(codes));
    if (!protocol::projector_codes_fit(room.codes)) return std::string("投影码过长,未保存");
    return room;
}

std::string library_problems(const std::vector<std::string>& problems)
{
    std::string text;
    for (const std::string& problem : problems)
        text += (text.empty() ? "投影机库: " : "; ") + problem;
    return text;
}

ProjectorItem pick_projector_item(SettingsView& view,
                                  int index,
                                  const std::vector<projectors::ProjectorEntry>& entries)
{
    const ProjectorItem item = projector_item(index, entries.size());
    if (item == ProjectorItem::entry) {
        const auto& entry = entries[static_cast<std::size_t>(index)];
        apply_projector_entry(view, entry, projectors::entry_name(entry));
    } else {
        view.组合框投影机型号.set_selection(-1);
    }
    return item;
}

} // namespace zk::present
