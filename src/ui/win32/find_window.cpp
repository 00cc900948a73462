#include "ui/win32/find_window.h"

#include "app/open_settings.h"
#include "app/port_report.h"
#include "base/program_folder.h"
#include "present/find/local_address.h"

namespace zk::win32 {

FindWindow::FindWindow(AppState& state, Ports ports, FindSetup setup, Dispatcher& dispatcher)
    : NativeWindow(view::find_window_layout(), nullptr), state_(state), ports_(ports),
      setup_(std::move(setup)), dispatcher_(dispatcher), boxes_(handle(), built()),
      组合框网卡列表(control("组合框网卡列表")), 编辑框中控IP(control("编辑框中控IP")),
      编辑框子网掩码(control("编辑框子网掩码")), 编辑框网关(control("编辑框网关")),
      编辑框本机IP(control("编辑框本机IP")), 编辑框服务器IP(control("编辑框服务器IP")),
      编辑框远程端口(control("编辑框远程端口")),
      列表框中控IP(control("列表框中控IP"), dispatcher), view_{组合框网卡列表, 编辑框中控IP,
                                                               编辑框子网掩码, 编辑框网关,
                                                               编辑框本机IP,   编辑框服务器IP,
                                                               编辑框远程端口, 列表框中控IP},
      link_(
          setup_.open_link(ports.find_local, [this](ByteView datagram) { on_datagram(datagram); })),
      settings_file_(setup_.program_dir,
                     setup_.user_config_dir.empty() ? default_user_config_dir()
                                                    : setup_.user_config_dir),
      adapter_list_(组合框网卡列表, setup_.adapters, settings_file_), context_{view_,
                                                                               state_,
                                                                               *link_,
                                                                               boxes_,
                                                                               ports.config_remote,
                                                                               [this] { return local_address(); }},
      wait_timer_(
          dispatcher,
          [this] { return watch_.next_deadline(); },
          [this](WaitTimer::Time now) { watch_.expire(now, boxes_); })
{
    state_.selected_mac = Bytes(mac_length);
    state_.held_block = Bytes(config_block_length);
    context_.on_sent = note_sent_requests(watch_, wait_timer_);
    adapter_list_.fill();
    adapter_list_.restore();
    follow_adapter();
    bind_events();
}

FindWindow::~FindWindow() = default;

void FindWindow::show()
{
    ShowWindow(handle(), SW_SHOW);
    UpdateWindow(handle());
    if (shown_before_) return;
    shown_before_ = true;
    const bool bound = link_->is_bound();
    const int port = ports_.find_local;
    // After the window has painted, so the box opens over it.
    report_timer_.start(std::chrono::milliseconds(0),
                        [this, bound, port] { report_unbound_port(bound, port, boxes_); });
}

void FindWindow::on_datagram(ByteView datagram)
{
    // Thousands of answers end one wait; the timer only moves for that one.
    if (watch_.arrived(datagram)) wait_timer_.rearm();
    discovery::handle_config_datagram(context_, datagram);
}

void FindWindow::bind_events()
{
    bind("按钮设置中控", BN_CLICKED, [this] { on_open_settings(); });
    bind("按钮刷新", BN_CLICKED, [this] {
        adapter_list_.fill();
        follow_adapter();
    });
    // A pick by the operator; the program's own selections send no notification.
    bind_pick("组合框网卡列表", [this] {
        adapter_list_.remember(boxes_);
        follow_adapter();
    });
    bind("按钮查找IP", BN_CLICKED, [this] { discovery::start_search(context_); });
    // Every click on an entry, the selected one included, so picking it again reads the
    // controller again (after a lost reply, say).
    bind("列表框中控IP", LBN_SELCHANGE, [this] { discovery::select_found_controller(context_); });
    bind("按钮设置IP", BN_CLICKED, [this] { discovery::write_network_parameters(context_); });
}

void FindWindow::follow_adapter()
{
    link_->set_broadcast_interface(adapter_list_.selected_interface());
}

std::string FindWindow::local_address()
{
    const std::vector<std::string> own =
        setup_.host_addresses ? setup_.host_addresses() : std::vector<std::string>{};
    return discovery::shown_local_address(own, adapter_list_.adapters(),
                                          组合框网卡列表.selection());
}

void FindWindow::on_open_settings()
{
    if (!confirm_controller_address(编辑框中控IP.content(), state_, boxes_)) return;
    settings_ = std::make_unique<SettingsWindow>(handle(), state_.controller_address, ports_,
                                                 setup_.open_link, dispatcher_, setup_.program_dir);
    settings_->on_close = [this] { close_settings(); };
    // Modal: the find window takes no input while the settings window is open.
    block_input(handle());
    settings_->show();
}

void FindWindow::close_settings()
{
    unblock_input(handle());
    if (IsWindowEnabled(handle())) SetActiveWindow(handle());
    settings_.reset();
}

} // namespace zk::win32
