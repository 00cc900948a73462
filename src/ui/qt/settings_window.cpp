#include "ui/qt/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/port_report.h"
#include "present/settings/buttons.h"
#include "present/settings/cards.h"
#include "present/settings/present.h"

namespace zk::ui {

SettingsWindow::SettingsWindow(std::string controller_address, Ports ports, QWidget* parent)
    : QDialog(parent), controller_address_(std::move(controller_address)), ports_(ports),
      controls_(build_window(this, view::settings_window_layout())), boxes_(this),
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
      组合框投影机型号(controls_.get<QComboBox>("组合框投影机型号")),
      编辑框命令文本(controls_.get<QLineEdit>("编辑框命令文本")),
      组合框转换码(controls_.get<QComboBox>("组合框转换码")),
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
                                                                组合框投影机型号,
                                                                编辑框命令文本,
                                                                组合框转换码,
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
    watch_answers();
    bind_buttons();
    bind_code_tools();
}

void SettingsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centre_on_screen(this);
    if (shown_before_) return;
    shown_before_ = true;
    QTimer::singleShot(
        0, this, [this] { report_unbound_port(udp_.is_bound(), ports_.settings_local, boxes_); });
}

void SettingsWindow::watch_answers()
{
    wait_timer_ = start_wait_timer(watch_, view_);
    link_.on_sent = note_sent_requests(watch_, *wait_timer_);
    udp_.on_datagram([this](ByteView datagram) {
        if (const auto reply = protocol::on_settings_datagram(datagram, view_, link_)) {
            watch_.answered(*reply, wait_timer_->now());
            wait_timer_->rearm();
        }
    });
}

void SettingsWindow::bind_click(std::string_view button,
                                void (*handler)(commands::SettingsContext&))
{
    connect(controls_.get<QPushButton>(button), &QPushButton::clicked, this,
            [this, handler] { handler(context_); });
}

void SettingsWindow::bind_buttons()
{
    for (const commands::ButtonAction& action : commands::settings_buttons())
        bind_click(action.button, action.handler);
    // currentChanged also fires for setCurrentIndex from the program; nothing here sets it.
    connect(controls_.get<QTabWidget>("选择夹1"), &QTabWidget::currentChanged, this,
            [this] { commands::on_page_changed(context_); });
}

} // namespace zk::ui
