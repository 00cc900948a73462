#include "ui/qt/settings_window.h"

#include "app/port_report.h"

namespace zk::ui {

SettingsWindow::SettingsWindow(std::string controller_address, Ports ports, QWidget* parent)
    : QDialog(parent), controller_address_(std::move(controller_address)), ports_(ports),
      controls_(build_window(this, settings_window_spec())), udp_(ports.settings_local)
{
    report_unbound_port(udp_.is_bound(), ports_.settings_local, boxes_);
}

} // namespace zk::ui
