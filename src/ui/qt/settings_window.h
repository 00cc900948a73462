#pragma once
// The settings window for one controller: built afresh at each opening, its endpoint bound to
// the settings port for as long as it is open.
#include <QDialog>
#include <string>

#include "present/settings/settings_window_model.h"
#include "ui/qt/widget_controls.h"
#include "ui/qt/window_parts.h"

namespace zk::ui {

class SettingsWindow final : public QDialog
{
public:
    SettingsWindow(std::string controller_address, Ports ports, QWidget* parent = nullptr);

    const std::string& controller_address() const { return model_.controller_address(); }
    DatagramEndpoint& endpoint() { return *endpoint_; }
    const BuiltControls& controls() const { return controls_; }
    SettingsView& view() { return model_.view(); }

protected:
    // Centred on its screen each time it opens; a taken port is told over it at the first.
    void showEvent(QShowEvent* event) override;

private:
    BuiltControls controls_;
    view::ControlSet adapters_;
    QtMessageBoxes boxes_;
    QtFileDialogs files_;
    DatagramEndpoint* endpoint_ = nullptr;
    present::SettingsWindowModel model_;
};

} // namespace zk::ui
