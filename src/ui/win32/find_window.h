#pragma once
// The find window: adapter list, IP parameters of the selected controller, found controllers,
// and the button that opens the settings window.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/adapter_list.h"
#include "app/settings_file.h"
#include "base/ports.h"
#include "net/dispatcher.h"
#include "net/wait_timer.h"
#include "present/app_state.h"
#include "present/find/find_handlers.h"
#include "present/find/find_watch.h"
#include "ui/win32/datagram_link.h"
#include "ui/win32/native_window.h"
#include "ui/win32/settings_window.h"
#include "ui/win32/win32_controls.h"
#include "view/find_view.h"

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

    FindView& view() { return view_; }
    DatagramLink& link() { return *link_; }
    // The settings window while it is open, else null.
    SettingsWindow* settings_window() { return settings_.get(); }
    // Shows the window; a port held by another program is told once, over it.
    void show();

private:
    void bind_events();
    void on_datagram(ByteView datagram);
    void on_open_settings();
    void close_settings();
    // Broadcasts leave through the adapter the list shows as selected.
    void follow_adapter();
    std::string local_address();

    AppState& state_;
    Ports ports_;
    FindSetup setup_;
    Dispatcher& dispatcher_;
    Win32MessageBoxes boxes_;
    Win32ComboList 组合框网卡列表;
    Win32EditBox 编辑框中控IP;
    Win32EditBox 编辑框子网掩码;
    Win32EditBox 编辑框网关;
    Win32EditBox 编辑框本机IP;
    Win32EditBox 编辑框服务器IP;
    Win32EditBox 编辑框远程端口;
    Win32ListBox 列表框中控IP;
    FindView view_;
    std::unique_ptr<DatagramLink> link_;
    SettingsFile settings_file_;
    AdapterList adapter_list_;
    discovery::FindContext context_;
    discovery::FindWatch watch_;
    WaitTimer wait_timer_;
    std::unique_ptr<SettingsWindow> settings_;
    Timer report_timer_{dispatcher_};
    bool shown_before_ = false;
};

} // namespace zk::win32
