#pragma once
// The find window: adapter list, IP parameters of the selected controller, found controllers,
// and the button that opens the settings window.
#include <QWidget>

#include "app/app_state.h"
#include "runtime/datagram_endpoint.h"
#include "runtime/ports.h"
#include "ui/find_view.h"
#include "ui/qt/widget_controls.h"
#include "ui/qt/window_builder.h"

namespace zk::ui {

class FindWindow final : public QWidget
{
public:
    FindWindow(AppState& state, Ports ports, QWidget* parent = nullptr);

    FindView& view() { return view_; }
    DatagramEndpoint& endpoint() { return udp_; }
    const BuiltControls& controls() const { return controls_; }

private:
    void bind_events();
    void on_open_settings();

    AppState& state_;
    Ports ports_;
    BuiltControls controls_;
    QtMessageBoxes boxes_;
    QtComboList 组合框网卡列表;
    QtEditBox 编辑框中控IP;
    QtEditBox 编辑框子网掩码;
    QtEditBox 编辑框网关;
    QtEditBox 编辑框本机IP;
    QtEditBox 编辑框服务器IP;
    QtEditBox 编辑框远程端口;
    QtListBox 列表框中控IP;
    FindView view_;
    DatagramEndpoint udp_;
};

} // namespace zk::ui
