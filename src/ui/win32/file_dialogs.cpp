#include "ui/win32/file_dialogs.h"

#include <commdlg.h>

#include <string>

#include "ui/win32/wide_text.h"

namespace zk::win32 {

namespace {

constexpr wchar_t json_filter[] = L"JSON (*.json)\0*.json\0";

// The file the operator picks in the system's open or save dialog; empty when cancelled.
std::filesystem::path
pick_file(HWND owner, std::string_view title, std::string_view suggested, bool save)
{
    std::wstring name(MAX_PATH * 4, L'\0');
    lstrcpynW(name.data(), wide(suggested).c_str(), static_cast<int>(name.size()));
    const std::wstring caption = wide(title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = json_filter;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = caption.c_str();
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

} // namespace

std::filesystem::path Win32FileDialogs::open_file(std::string_view title)
{
    return pick_file(owner_, title, {}, false);
}

std::filesystem::path Win32FileDialogs::save_file(std::string_view title,
                                                  std::string_view suggested)
{
    return pick_file(owner_, title, suggested, true);
}

} // namespace zk::win32
