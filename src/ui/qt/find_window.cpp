#include "ui/qt/find_window.h"

#include <QCoreApplication>

#include "net/adapters.h"
#include "net/host_addresses.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {

namespace {

std::filesystem::path program_dir_or_default(const std::filesystem::path& dir)
{
    if (!dir.empty()) return dir;
    // From UTF-16: on Windows a path built from a narrow string reads it in the ANSI code page.
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String());
}

} // namespace

FindWindow::FindWindow(AppState& state, Ports ports, FindSetup setup, QWidget* parent)
    : QWidget(parent), state_(state), ports_(ports),
      controls_(build_window(this, view::find_window_layout())),
      adapters_(adapt_controls(controls_, view::find_window_layout())), boxes_(this),
      own_adapters_(setup.adapters ? nullptr : std::make_unique<SystemAdapters>()),
      assembly_({adapters_, boxes_, Dispatcher::current(),
                 endpoint_links(endpoint_, setup.receive_buffer), [] { return host_addresses(); },
                 [this] { open_settings(); }},
                setup.adapters ? *setup.adapters : *own_adapters_,
                program_dir_or_default(setup.program_dir),
                setup.user_config_dir,
                state,
                ports)
{
    bind_actions(controls_, view::find_window_layout(), assembly_.model().actions());
    centre_on_screen(this);
}

void FindWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    assembly_.model().shown();
}

void FindWindow::open_settings()
{
    auto* settings = new SettingsWindow(state_.controller_address, ports_);
    settings->setAttribute(Qt::WA_DeleteOnClose);
    settings->setWindowModality(Qt::ApplicationModal);
    settings->show();
    centre_on_screen(settings);
}

} // namespace zk::ui
