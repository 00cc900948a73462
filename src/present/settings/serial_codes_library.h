#pragma once
// The drop-down "投影机型号" on page "投影机码": library entries that fill the six serial
// controls, and one room's codes taken from them for a file. Nothing is sent: the codes reach
// the controller only with 写串口码.
#include <string>
#include <variant>
#include <vector>

#include "present/settings/context.h"
#include "projectors/projector_entry.h"

namespace zk::present {

inline constexpr std::string_view item_load_file = "从文件载入…";
inline constexpr std::string_view item_save_file = "保存到文件…";

// The entries by name, then the two file items.
void fill_projector_list(ItemList& list, const std::vector<projectors::ProjectorEntry>& entries);

// The library's refusals in one line for 标签状态, told once when the window opens so that an
// entry left out is never silent: "投影机库: problem; problem"; empty when there is none.
std::string library_problems(const std::vector<std::string>& problems);

enum class ProjectorItem
{
    entry,
    load_file,
    save_file,
    none,
};

// What the item at `index` of a list filled from `entry_count` entries stands for.
ProjectorItem projector_item(int index, std::size_t entry_count);

// Selects the entry's baud and parity and puts its four codes into the code boxes; 标签状态
// names the entry (`from` is the entry's name or the file) and that 写串口码 is still to do.
void apply_projector_entry(SettingsView& view,
                           const projectors::ProjectorEntry& entry,
                           std::string_view from);

// The operator picked the item at `index` of 组合框投影机型号, filled from `entries`: an entry is
// applied to the page; a file item clears the list's selection (it is an action, not a state
// of the list) and is returned for the window to open its file dialog.
ProjectorItem pick_projector_item(SettingsView& view,
                                  int index,
                                  const std::vector<projectors::ProjectorEntry>& entries);

// Baud, parity and the four codes as the page holds them, or the message naming what is
// missing or wrong.
std::variant<projectors::ProjectorEntry, std::string> room_codes_from_page(SettingsView& view);

} // namespace zk::present
