#pragma once
// The find window: adapter list, IP parameters of the selected controller, found controllers,
// and the button that opens the settings window.
#include <QWidget>
#include <filesystem>
#include <memory>

#include "app/find_window_assembly.h"
#include "ui/qt/widget_controls.h"
#include "ui/qt/window_parts.h"

namespace zk::ui {

// Where the window finds its surroundings; the defaults are the real PC, tests replace them.
struct FindSetup
{
    // Holds system.ini; empty means the program's own directory.
    std::filesystem::path program_dir;
    // Used when program_dir is not writable; empty means the user's configuration directory.
    std::filesystem::path user_config_dir;
    // The adapters to list; null means the PC's own.
    AdapterSource* adapters = nullptr;
    // Receive buffer to ask for; tests and benchmarks ask for a desktop's usual limit.
    int receive_buffer = DatagramEndpoint::wanted_receive_buffer;
};

class FindWindow final : public QWidget
{
public:
    FindWindow(AppState& state, Ports ports, FindSetup setup = {}, QWidget* parent = nullptr);

    FindView& view() { return assembly_.model().view(); }
    DatagramEndpoint& endpoint() { return *endpoint_; }
    const BuiltControls& controls() const { return controls_; }
    const SettingsFile& settings_file() const { return assembly_.settings_file(); }

protected:
    // A port held by another program is told once the window is on screen, over it.
    void showEvent(QShowEvent* event) override;

private:
    // A fresh settings window, modal, for the address the operator confirmed.
    void open_settings();

    AppState& state_;
    Ports ports_;
    BuiltControls controls_;
    view::ControlSet adapters_;
    QtMessageBoxes boxes_;
    DatagramEndpoint* endpoint_ = nullptr;
    std::unique_ptr<AdapterSource> own_adapters_;
    FindWindowAssembly assembly_;
};

} // namespace zk::ui
