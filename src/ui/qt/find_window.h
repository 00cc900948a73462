#pragma once
// The find window: adapter list, IP parameters of the selected controller, found controllers,
// and the button that opens the settings window.
#include <QWidget>
#include <filesystem>
#include <memory>

#include "app/adapter_list.h"
#include "app/settings_file.h"
#include "base/ports.h"
#include "net/datagram_endpoint.h"
#include "net/wait_timer.h"
#include "present/app_state.h"
#include "present/find/find_handlers.h"
#include "present/find/find_watch.h"
#include "ui/qt/widget_controls.h"
#include "ui/qt/window_builder.h"
#include "view/find_view.h"

namespace zk::ui {

// Where the window finds its surroundings; the defaults are the real PC, tests replace them.
struct FindSetup
{
    // Holds system.ini; empty means the program's own directory.
    std::filesystem::path program_dir;
    // Used when program_dir is not writable; empty means the user's configuration directory.
    std::filesystem::path user_config_dir;
    // The adapters to list; null means the PC's own.
    AdapterSource* adapters = nullptr;
    // Receive buffer to ask for; tests and benchmarks ask for a desktop's usual limit.
    int receive_buffer = DatagramEndpoint::wanted_receive_buffer;
};

class FindWindow final : public QWidget
{
public:
    FindWindow(AppState& state, Ports ports, FindSetup setup = {}, QWidget* parent = nullptr);

    FindView& view() { return view_; }
    DatagramEndpoint& endpoint() { return udp_; }
    const BuiltControls& controls() const { return controls_; }
    const SettingsFile& settings_file() const { return settings_file_; }

protected:
    // A port held by another program is told once the window is on screen, over it.
    void showEvent(QShowEvent* event) override;

private:
    void bind_events();
    // Searches and writes wait for their answers; running out is told in a message box.
    void watch_answers();
    void on_open_settings();
    // Broadcasts leave through the adapter the list shows as selected.
    void follow_adapter();
    std::string local_address();

    AppState& state_;
    Ports ports_;
    BuiltControls controls_;
    QtMessageBoxes boxes_;
    QtComboList 组合框网卡列表;
    QtEditBox 编辑框中控IP;
    QtEditBox 编辑框子网掩码;
    QtEditBox 编辑框网关;
    QtEditBox 编辑框本机IP;
    QtEditBox 编辑框服务器IP;
    QtEditBox 编辑框远程端口;
    QtListBox 列表框中控IP;
    FindView view_;
    DatagramEndpoint udp_;
    std::unique_ptr<AdapterSource> own_adapters_;
    SettingsFile settings_file_;
    AdapterList adapter_list_;
    discovery::FindContext context_;
    discovery::FindWatch watch_;
    std::unique_ptr<WaitTimer> wait_timer_;
    bool shown_before_ = false;
};

} // namespace zk::ui
