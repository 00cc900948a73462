#pragma once
// The system's open and save dialogs for JSON files.
#include <windows.h>

#include "present/file_dialogs.h"

namespace zk::win32 {

class Win32FileDialogs final : public FileDialogs
{
public:
    explicit Win32FileDialogs(HWND owner) : owner_(owner) {}
    std::filesystem::path open_file(std::string_view title) override;
    std::filesystem::path save_file(std::string_view title, std::string_view suggested) override;

private:
    HWND owner_;
};

} // namespace zk::win32
