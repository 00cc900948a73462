#include "ui/win32/settings_window.h"

namespace zk::win32 {

SettingsWindow::SettingsWindow(HWND owner,
                               std::string controller_address,
                               Ports ports,
                               const OpenLink& open_link,
                               Dispatcher& dispatcher,
                               const std::filesystem::path& program_dir)
    : NativeWindow(view::settings_window_layout(), owner),
      adapters_(adapt_controls(built(), dispatcher)), boxes_(handle(), built()), files_(handle()),
      model_({adapters_, boxes_, files_, dispatcher, open_link, program_dir},
             std::move(controller_address),
             ports)
{
    close_on_escape();
    bind_actions(model_.actions());
}

void SettingsWindow::show()
{
    ShowWindow(handle(), SW_SHOW);
    UpdateWindow(handle());
    model_.shown();
}

} // namespace zk::win32
