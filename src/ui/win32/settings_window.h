#pragma once
// The settings window for one controller: built afresh at each opening, its link bound to the
// settings port for as long as it is open.
#include <filesystem>
#include <string>

#include "present/settings/settings_window_model.h"
#include "ui/win32/file_dialogs.h"
#include "ui/win32/native_window.h"
#include "ui/win32/win32_controls.h"

namespace zk::win32 {

class SettingsWindow final : public NativeWindow
{
public:
    // Owned by `owner`; the shipped projector library is looked for in `program_dir`.
    SettingsWindow(HWND owner,
                   std::string controller_address,
                   Ports ports,
                   const OpenLink& open_link,
                   Dispatcher& dispatcher,
                   const std::filesystem::path& program_dir);

    const std::string& controller_address() const { return model_.controller_address(); }
    SettingsView& view() { return model_.view(); }
    DatagramLink& link() { return model_.link(); }
    // Shows the window; a port held by another program is told once, over it.
    void show();

private:
    view::ControlSet adapters_;
    Win32MessageBoxes boxes_;
    Win32FileDialogs files_;
    present::SettingsWindowModel model_;
};

} // namespace zk::win32
