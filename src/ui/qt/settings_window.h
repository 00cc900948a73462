#pragma once
// The settings window for one controller: built afresh at each opening, its endpoint bound to
// the settings port for as long as it is open.
#include <QDialog>
#include <memory>
#include <string>

#include "base/ports.h"
#include "net/datagram_endpoint.h"
#include "net/wait_timer.h"
#include "present/settings/answer_watch.h"
#include "present/settings/context.h"
#include "projectors/projector_library.h"
#include "protocol/send_path.h"
#include "ui/qt/widget_controls.h"
#include "ui/qt/window_builder.h"
#include "view/settings_view.h"

namespace zk::ui {

class SettingsWindow final : public QDialog
{
public:
    SettingsWindow(std::string controller_address, Ports ports, QWidget* parent = nullptr);

    const std::string& controller_address() const { return controller_address_; }
    DatagramEndpoint& endpoint() { return udp_; }
    const BuiltControls& controls() const { return controls_; }
    SettingsView& view() { return view_; }

protected:
    // Centred on its screen each time it opens; a taken port is told over it at the first.
    void showEvent(QShowEvent* event) override;

private:
    // Every request waits for its answer; running out shows "中控无应答".
    void watch_answers();
    // Connects a button's click to a handler of the settings commands.
    void bind_click(std::string_view button, void (*handler)(commands::SettingsContext&));
    // Every button with an action, and the page-changed event.
    void bind_buttons();
    // The group box "进制转换": the projector library.
    void bind_code_tools();
    // An item of 组合框投影机型号 chosen: an entry fills the page; the last two read or write a
    // room's codes through a file dialog.
    void on_projector_item(int index);

    std::string controller_address_;
    Ports ports_;
    BuiltControls controls_;
    QtMessageBoxes boxes_;
    QtTabControl 选择夹1;
    QtLabel 标签状态;
    QtEditBox 编辑框系统音量;
    QtEditBox 编辑框中控ID;
    QtCheckBox 选择框刷卡开机;
    QtEditBox 编辑框投影机预热时间;
    QtEditBox 编辑框投影机散热时间;
    QtEditBox 编辑框幕布时间;
    QtComboList 组合框波特率;
    QtComboList 组合框校验方式;
    QtEditBox 编辑框开机码;
    QtEditBox 编辑框关机码;
    QtEditBox 编辑框视频码;
    QtEditBox 编辑框电脑码;
    QtComboList 组合框投影机型号;
    QtEditBox 编辑框命令文本;
    QtComboList 组合框转换码;
    QtLabel 标签卡数量;
    QtLabel 标签指纹数量;
    QtEditBox 编辑框卡号;
    QtLabel 标签卡状态;
    QtEditBox 编辑框授权;
    QtEditBox 编辑框指纹;
    SettingsView view_;
    projectors::Library library_;
    DatagramEndpoint udp_;
    protocol::ControllerLink link_;
    commands::SettingsContext context_;
    commands::AnswerWatch watch_;
    std::unique_ptr<WaitTimer> wait_timer_;
    bool shown_before_ = false;
};

} // namespace zk::ui
