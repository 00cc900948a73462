#include "ui/qt/settings_window.h"

#include "base/program_folder.h"

namespace zk::ui {

SettingsWindow::SettingsWindow(std::string controller_address, Ports ports, QWidget* parent)
    : QDialog(parent), controls_(build_window(this, view::settings_window_layout())),
      adapters_(adapt_controls(controls_, view::settings_window_layout())), boxes_(this),
      files_(this), model_({adapters_, boxes_, files_, Dispatcher::current(),
                            endpoint_links(endpoint_), program_folder()},
                           std::move(controller_address),
                           ports)
{
    bind_actions(controls_, view::settings_window_layout(), model_.actions());
}

void SettingsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centre_on_screen(this);
    model_.shown();
}

} // namespace zk::ui
