#include "ui/qt/find_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/open_settings.h"
#include "app/port_report.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {

FindWindow::FindWindow(AppState& state, Ports ports, QWidget* parent)
    : QWidget(parent), state_(state), ports_(ports),
      controls_(build_window(this, find_window_spec())),
      组合框网卡列表(controls_.get<QComboBox>("组合框网卡列表")),
      编辑框中控IP(controls_.get<QLineEdit>("编辑框中控IP")),
      编辑框子网掩码(controls_.get<QLineEdit>("编辑框子网掩码")),
      编辑框网关(controls_.get<QLineEdit>("编辑框网关")),
      编辑框本机IP(controls_.get<QLineEdit>("编辑框本机IP")),
      编辑框服务器IP(controls_.get<QLineEdit>("编辑框服务器IP")),
      编辑框远程端口(controls_.get<QLineEdit>("编辑框远程端口")),
      列表框中控IP(controls_.get<QListWidget>("列表框中控IP")),
      view_{组合框网卡列表, 编辑框中控IP,   编辑框子网掩码, 编辑框网关,
            编辑框本机IP,   编辑框服务器IP, 编辑框远程端口, 列表框中控IP},
      udp_(ports.find_local)
{
    state_.selected_mac = Bytes(mac_length);
    state_.held_block = Bytes(config_block_length);
    bind_events();
    centre_on_screen(this);
    report_unbound_port(udp_.is_bound(), ports_.find_local, boxes_);
}

void FindWindow::bind_events()
{
    connect(controls_.get<QPushButton>("按钮设置中控"), &QPushButton::clicked, this,
            [this] { on_open_settings(); });
}

void FindWindow::on_open_settings()
{
    if (!confirm_controller_address(编辑框中控IP.content(), state_, boxes_)) return;
    auto* settings = new SettingsWindow(state_.controller_address, ports_);
    settings->setAttribute(Qt::WA_DeleteOnClose);
    settings->setWindowModality(Qt::ApplicationModal);
    settings->show();
    centre_on_screen(settings);
}

} // namespace zk::ui
