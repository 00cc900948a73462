#pragma once
// The find window: adapter list, IP parameters of the selected controller, found controllers,
// and the button that opens the settings window.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/find_window_assembly.h"
#include "ui/win32/native_window.h"
#include "ui/win32/settings_window.h"
#include "ui/win32/win32_controls.h"

// windows.h names FindWindowW "FindWindow" as a macro; the window class here keeps its name.
#undef FindWindow

namespace zk::win32 {

// Where the window finds its surroundings: the program gives the PC's own, tests their own.
struct FindSetup
{
    OpenLink open_link;
    AdapterSource& adapters;
    // The addresses the PC's own name resolves to, looked up afresh on each call.
    std::function<std::vector<std::string>()> host_addresses;
    // Holds system.ini and the shipped projector library.
    std::filesystem::path program_dir;
    // Used when program_dir is not writable.
    std::filesystem::path user_config_dir;
};

class FindWindow final : public NativeWindow
{
public:
    FindWindow(AppState& state, Ports ports, FindSetup setup, Dispatcher& dispatcher);
    ~FindWindow() override;

    FindView& view() { return assembly_.model().view(); }
    DatagramLink& link() { return assembly_.model().link(); }
    // The settings window while it is open, else null.
    SettingsWindow* settings_window() { return settings_.get(); }
    // Shows the window; a port held by another program is told once, over it.
    void show();

private:
    // A settings window for the address the operator confirmed, modal over this one.
    void open_settings();
    void close_settings();

    AppState& state_;
    Ports ports_;
    FindSetup setup_;
    Dispatcher& dispatcher_;
    view::ControlSet adapters_;
    Win32MessageBoxes boxes_;
    FindWindowAssembly assembly_;
    std::unique_ptr<SettingsWindow> settings_;
};

} // namespace zk::win32
