#include "ui/qt/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/port_report.h"
#include "commands/identity_volume.h"
#include "commands/timings_mode.h"
#include "protocol/present.h"

namespace zk::ui {

SettingsWindow::SettingsWindow(std::string controller_address, Ports ports, QWidget* parent)
    : QDialog(parent), controller_address_(std::move(controller_address)), ports_(ports),
      controls_(build_window(this, settings_window_spec())),
      选择夹1(controls_.get<QTabWidget>("选择夹1")), 标签状态(controls_.get<QLabel>("标签状态")),
      编辑框系统音量(controls_.get<QLineEdit>("编辑框系统音量")),
      编辑框中控ID(controls_.get<QLineEdit>("编辑框中控ID")),
      选择框刷卡开机(controls_.get<QCheckBox>("选择框刷卡开机")),
      编辑框投影机预热时间(controls_.get<QLineEdit>("编辑框投影机预热时间")),
      编辑框投影机散热时间(controls_.get<QLineEdit>("编辑框投影机散热时间")),
      编辑框幕布时间(controls_.get<QLineEdit>("编辑框幕布时间")),
      组合框波特率(controls_.get<QComboBox>("组合框波特率")),
      组合框校验方式(controls_.get<QComboBox>("组合框校验方式")),
      编辑框开机码(controls_.get<QLineEdit>("编辑框开机码")),
      编辑框关机码(controls_.get<QLineEdit>("编辑框关机码")),
      编辑框视频码(controls_.get<QLineEdit>("编辑框视频码")),
      编辑框电脑码(controls_.get<QLineEdit>("编辑框电脑码")),
      标签卡数量(controls_.get<QLabel>("标签卡数量")),
      标签指纹数量(controls_.get<QLabel>("标签指纹数量")),
      编辑框卡号(controls_.get<QLineEdit>("编辑框卡号")),
      标签卡状态(controls_.get<QLabel>("标签卡状态")),
      编辑框授权(controls_.get<QLineEdit>("编辑框授权")),
      编辑框指纹(controls_.get<QLineEdit>("编辑框指纹")), view_{选择夹1,
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
                                                                标签卡数量,
                                                                标签指纹数量,
                                                                编辑框卡号,
                                                                标签卡状态,
                                                                编辑框授权,
                                                                编辑框指纹},
      udp_(ports.settings_local), link_{udp_, controller_address_, ports.hs3_remote}, context_{
                                                                                          view_,
                                                                                          link_}
{
    udp_.on_datagram(
        [this](ByteView datagram) { protocol::on_settings_datagram(datagram, view_, link_); });
    bind_page_basic();
    bind_pages_codes_and_authorisation();
    report_unbound_port(udp_.is_bound(), ports_.settings_local, boxes_);
}

void SettingsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centre_on_screen(this);
}

void SettingsWindow::bind_click(std::string_view button,
                                void (*handler)(commands::SettingsContext&))
{
    connect(controls_.get<QPushButton>(button), &QPushButton::clicked, this,
            [this, handler] { handler(context_); });
}

void SettingsWindow::bind_page_basic()
{
    bind_click("按钮读系统音量", commands::read_volume);
    bind_click("按钮写系统音量", commands::write_volume);
    bind_click("按钮读中控ID", commands::read_controller_id);
    bind_click("按钮写中控ID", commands::write_controller_id);
    bind_click("按钮读刷卡开机", commands::read_swipe_mode);
    bind_click("按钮写刷卡开机", commands::write_swipe_mode);
    bind_click("按钮读时间", commands::read_timings);
    bind_click("按钮写时间", commands::write_timings);
}

// Left for the handlers of pages "投影机码" and "授权管理" (serial codes, cards, fingerprints
// and authorisation) and the page-changed event that asks for the card count; until they are
// bound, those controls do nothing. 按钮输入, 按钮输出 and the spin arrows stay unbound for good.
void SettingsWindow::bind_pages_codes_and_authorisation() {}

} // namespace zk::ui
