#include "ui/win32/find_window.h"

namespace zk::win32 {

FindWindow::FindWindow(AppState& state, Ports ports, FindSetup setup, Dispatcher& dispatcher)
    : NativeWindow(view::find_window_layout(), nullptr), state_(state), ports_(ports),
      setup_(std::move(setup)), dispatcher_(dispatcher),
      adapters_(adapt_controls(built(), dispatcher)), boxes_(handle(), built()),
      assembly_({adapters_, boxes_, dispatcher, setup_.open_link, setup_.host_addresses,
                 [this] { open_settings(); }},
                setup_.adapters,
                setup_.program_dir,
                setup_.user_config_dir,
                state,
                ports)
{
    bind_actions(assembly_.model().actions());
}

FindWindow::~FindWindow() = default;

void FindWindow::show()
{
    ShowWindow(handle(), SW_SHOW);
    UpdateWindow(handle());
    assembly_.model().shown();
}

void FindWindow::open_settings()
{
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
