#pragma once
// The settings window for one controller: built afresh at each opening, its endpoint bound to
// the settings port for as long as it is open.
#include <QDialog>
#include <string>

#include "runtime/datagram_endpoint.h"
#include "runtime/ports.h"
#include "ui/qt/widget_controls.h"
#include "ui/qt/window_builder.h"

namespace zk::ui {

class SettingsWindow final : public QDialog
{
public:
    SettingsWindow(std::string controller_address, Ports ports, QWidget* parent = nullptr);

    const std::string& controller_address() const { return controller_address_; }
    DatagramEndpoint& endpoint() { return udp_; }
    const BuiltControls& controls() const { return controls_; }

private:
    std::string controller_address_;
    Ports ports_;
    BuiltControls controls_;
    QtMessageBoxes boxes_;
    DatagramEndpoint udp_;
};

} // namespace zk::ui
