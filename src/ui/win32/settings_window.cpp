#include "ui/win32/settings_window.h"

#include "app/port_report.h"
#include "present/settings/buttons.h"
#include "present/settings/cards.h"
#include "present/settings/present.h"

namespace zk::win32 {

SettingsWindow::SettingsWindow(HWND owner,
                               std::string controller_address,
                               Ports ports,
                               const OpenLink& open_link,
                               Dispatcher& dispatcher,
                               const std::filesystem::path& program_dir)
    : NativeWindow(view::settings_window_layout(), owner),
      controller_address_(std::move(controller_address)), ports_(ports), boxes_(handle(), built()),
      选择夹1(control("选择夹1")), 标签状态(control("标签状态")),
      编辑框系统音量(control("编辑框系统音量")), 编辑框中控ID(control("编辑框中控ID")),
      选择框刷卡开机(control("选择框刷卡开机")),
      编辑框投影机预热时间(control("编辑框投影机预热时间")),
      编辑框投影机散热时间(control("编辑框投影机散热时间")),
      编辑框幕布时间(control("编辑框幕布时间")), 组合框波特率(control("组合框波特率")),
      组合框校验方式(control("组合框校验方式")), 编辑框开机码(control("编辑框开机码")),
      编辑框关机码(control("编辑框关机码")), 编辑框视频码(control("编辑框视频码")),
      编辑框电脑码(control("编辑框电脑码")), 组合框投影机型号(control("组合框投影机型号")),
      编辑框命令文本(control("编辑框命令文本")), 组合框转换码(control("组合框转换码")),
      标签卡数量(control("标签卡数量")), 标签指纹数量(control("标签指纹数量")),
      编辑框卡号(control("编辑框卡号")), 标签卡状态(control("标签卡状态")),
      编辑框授权(control("编辑框授权")),
      编辑框指纹(control("编辑框指纹")), view_{选择夹1,
                                               标签状态,
                                               编辑框系统音量,
                                               编辑框中控ID,
                                               选择框刷卡开机,
                                               编辑框投影机预热时间,
                                               编辑框投影机散热时间,
                                               编辑框幕布时间,
                                               组合框波特率,
                                               组合框校验方式,
                                               编辑框开机码,
                                               编辑框关机码,
                                               编辑框视频码,
                                               编辑框电脑码,
                                               组合框投影机型号,
                                               编辑框命令文本,
                                               组合框转换码,
                                               标签卡数量,
                                               标签指纹数量,
                                               编辑框卡号,
                                               标签卡状态,
                                               编辑框授权,
                                               编辑框指纹},
      udp_(open_link(ports.settings_local, [this](ByteView datagram) { on_datagram(datagram); })),
      link_{*udp_, controller_address_, ports.hs3_remote}, context_{view_, link_},
      wait_timer_(
          dispatcher,
          [this] { return watch_.next_deadline(); },
          [this](WaitTimer::Time now) { watch_.expire(now, view_); }),
      report_timer_(dispatcher)
{
    link_.on_sent = note_sent_requests(watch_, wait_timer_);
    close_on_escape();
    bind_buttons();
    bind_code_tools(program_dir);
}

void SettingsWindow::show()
{
    ShowWindow(handle(), SW_SHOW);
    UpdateWindow(handle());
    const bool bound = udp_->is_bound();
    const int port = ports_.settings_local;
    report_timer_.start(std::chrono::milliseconds(0),
                        [this, bound, port] { report_unbound_port(bound, port, boxes_); });
}

void SettingsWindow::on_datagram(ByteView datagram)
{
    if (const auto reply = protocol::on_settings_datagram(datagram, view_, link_)) {
        watch_.answered(*reply, wait_timer_.now());
        wait_timer_.rearm();
    }
}

void SettingsWindow::bind_click(std::string_view button,
                                void (*handler)(commands::SettingsContext&))
{
    bind(button, BN_CLICKED, [this, handler] { handler(context_); });
}

void SettingsWindow::bind_buttons()
{
    for (const commands::ButtonAction& action : commands::settings_buttons())
        bind_click(action.button, action.handler);
    // Only the operator's change of page notifies; the program sets no page.
    bind_page_change([this] { commands::on_page_changed(context_); });
}

} // namespace zk::win32
