// The settings window's group box "进制转换": text/hex conversion and the projector library.
#include "ui/win32/settings_window.h"

#include <commdlg.h>

#include "present/settings/serial_codes_library.h"
#include "present/settings/serial_codes_text.h"
#include "ui/win32/wide_text.h"

namespace zk::win32 {

namespace {

constexpr wchar_t room_file_filter[] = L"JSON (*.json)\0*.json\0";

// The file the operator picks in the system's open or save dialog; empty when cancelled.
std::filesystem::path pick_file(HWND owner, const wchar_t* title, bool save)
{
    std::wstring name(MAX_PATH * 4, L'\0');
    if (save) lstrcpynW(name.data(), L"room-codes.json", static_cast<int>(name.size()));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = room_file_filter;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = L"json";
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    // The dialogs' library (and the shell it brings) is loaded when a dialog is first wanted:
    // linked to the program, it took a good part of the start-up.
    static HMODULE dialogs = LoadLibraryW(L"comdlg32.dll");
    using Dialog = BOOL(WINAPI*)(OPENFILENAMEW*);
    const auto open = dialogs ? reinterpret_cast<Dialog>(reinterpret_cast<void*>(GetProcAddress(
                                    dialogs, save ? "GetSaveFileNameW" : "GetOpenFileNameW")))
                              : nullptr;
    if (!open || !open(&dialog)) return {};
    return std::filesystem::path(name.c_str());
}

std::string shown_path(const std::filesystem::path& path)
{
    return narrow(path.wstring());
}

} // namespace

void SettingsWindow::bind_code_tools(const std::filesystem::path& program_dir)
{
    组合框转换码.set_selection(0);
    library_ = projectors::load_library(projectors::user_library_file(),
                                        projectors::shipped_library_file(program_dir));
    commands::fill_projector_list(组合框投影机型号, library_.entries);
    if (!library_.problems.empty())
        标签状态.set_caption(commands::library_problems(library_.problems));
    bind_pick("组合框投影机型号", [this] { on_projector_item(组合框投影机型号.selection()); });
}

void SettingsWindow::on_projector_item(int index)
{
    using commands::ProjectorItem;
    if (index < 0) return;
    const ProjectorItem item = commands::pick_projector_item(view_, index, library_.entries);
    if (item == ProjectorItem::load_file) load_room_file();
    if (item == ProjectorItem::save_file) save_room_file();
}

void SettingsWindow::load_room_file()
{
    const std::filesystem::path path = pick_file(handle(), L"载入串口码", false);
    if (path.empty()) return;
    auto room = projectors::read_room_file(path);
    if (const auto* problem = std::get_if<std::string>(&room))
        return 标签状态.set_caption(*problem);
    commands::apply_projector_entry(view_, std::get<protocol::ProjectorEntry>(room),
                                    shown_path(path.filename()));
}

void SettingsWindow::save_room_file()
{
    auto room = commands::room_codes_from_page(view_);
    if (const auto* problem = std::get_if<std::string>(&room))
        return 标签状态.set_caption(*problem);
    const std::filesystem::path path = pick_file(handle(), L"保存串口码", true);
    if (path.empty()) return;
    const auto failure =
        projectors::write_room_file(path, std::get<protocol::ProjectorEntry>(room));
    标签状态.set_caption(failure ? *failure : "串口码已保存到 " + shown_path(path));
}

} // namespace zk::win32
