#include "present/find/find_window_model.h"

#include "discovery/config_datagram.h"
#include "present/find/local_address.h"
#include "present/find/open_settings.h"
#include "present/port_report.h"

namespace zk::present {

using discovery::comes_in_bursts;

namespace {

FindView find_view(const view::ControlSet& c)
{
    return {c.get<ItemList>("组合框网卡列表"), c.get<EditBox>("编辑框中控IP"),
            c.get<EditBox>("编辑框子网掩码"),  c.get<EditBox>("编辑框网关"),
            c.get<EditBox>("编辑框本机IP"),    c.get<EditBox>("编辑框服务器IP"),
            c.get<EditBox>("编辑框远程端口"),  c.get<ItemList>("列表框中控IP")};
}

} // namespace

FindWindowModel::FindWindowModel(FindWindowParts parts,
                                 AdapterChoice& adapters,
                                 AppState& state,
                                 Ports ports)
    : state_(state), boxes_(parts.boxes), adapters_(adapters),
      host_addresses_(std::move(parts.host_addresses)),
      open_settings_(std::move(parts.open_settings)), view_(find_view(parts.controls)),
      link_(
          parts.open_link(ports.find_local, [this](ByteView datagram) { on_datagram(datagram); })),
      context_{
          view_, state_, *link_, boxes_, ports.config_remote, [this] { return local_address(); }},
      wait_timer_(
          parts.dispatcher,
          [this] { return watch_.next_deadline(); },
          [this](WaitTimer::Time now) { watch_.expire(now, boxes_); }),
      report_(parts.dispatcher, parts.boxes, ports.find_local)
{
    state_.selected_mac = {};
    state_.held_reply.reset();
    context_.on_sent = note_sent_requests(watch_, wait_timer_);
    link_->gather_bursts(comes_in_bursts);
    adapters_.fill();
    adapters_.restore();
    follow_adapter();
    add_actions();
}

void FindWindowModel::add_actions()
{
    actions_ = {
        {"按钮设置中控", [this] { on_open_settings(); }},
        {"按钮刷新",
         [this] {
             adapters_.fill();
             follow_adapter();
         }},
        {"组合框网卡列表",
         [this] {
             adapters_.remember(boxes_);
             follow_adapter();
         }},
        {"按钮查找IP", [this] { start_search(context_); }},
        {"列表框中控IP", [this] { select_found_controller(context_); }},
        {"按钮设置IP", [this] { write_network_parameters(context_); }},
    };
}

void FindWindowModel::shown()
{
    report_.shown(link_->is_bound());
}

void FindWindowModel::on_datagram(ByteView datagram)
{
    // Thousands of answers end one wait; the timer only moves for that one.
    if (watch_.arrived(datagram)) wait_timer_.rearm();
    handle_config_datagram(context_, datagram);
}

void FindWindowModel::on_open_settings()
{
    if (!confirm_controller_address(view_.编辑框中控IP.content(), state_, boxes_)) return;
    if (open_settings_) open_settings_();
}

void FindWindowModel::follow_adapter()
{
    link_->set_broadcast_interface(adapters_.selected_interface());
}

std::string FindWindowModel::local_address() const
{
    const std::vector<std::string> own =
        host_addresses_ ? host_addresses_() : std::vector<std::string>{};
    return shown_local_address(own, adapters_.adapters(), view_.组合框网卡列表.selection());
}

} // namespace zk::present
