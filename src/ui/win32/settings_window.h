#pragma once
// The settings window for one controller: built afresh at each opening, its link bound to the
// settings port for as long as it is open.
#include <filesystem>
#include <memory>
#include <string>

#include "base/ports.h"
#include "net/dispatcher.h"
#include "net/wait_timer.h"
#include "present/settings/answer_watch.h"
#include "present/settings/context.h"
#include "projectors/projector_library.h"
#include "protocol/send_path.h"
#include "ui/win32/datagram_link.h"
#include "ui/win32/native_window.h"
#include "ui/win32/win32_controls.h"
#include "view/settings_view.h"

namespace zk::win32 {

class SettingsWindow final : public NativeWindow
{
public:
    // Owned by `owner`; the shipped projector library is looked for in `program_dir`.
    SettingsWindow(HWND owner,
                   std::string controller_address,
                   Ports ports,
                   const OpenLink& open_link,
                   Dispatcher& dispatcher,
                   const std::filesystem::path& program_dir);

    const std::string& controller_address() const { return controller_address_; }
    SettingsView& view() { return view_; }
    DatagramLink& link() { return *udp_; }
    // Shows the window; a port held by another program is told once, over it.
    void show();

private:
    void on_datagram(ByteView datagram);
    // Connects a button's click to a handler of the settings commands.
    void bind_click(std::string_view button, void (*handler)(commands::SettingsContext&));
    // Every button with an action, and the page-changed event.
    void bind_buttons();
    // The group box "进制转换": the projector library.
    void bind_code_tools(const std::filesystem::path& program_dir);
    // An item of 组合框投影机型号 chosen: an entry fills the page; the last two read or write a
    // room's codes through a file dialog.
    void on_projector_item(int index);
    void load_room_file();
    void save_room_file();

    std::string controller_address_;
    Ports ports_;
    Win32MessageBoxes boxes_;
    Win32TabControl 选择夹1;
    Win32Label 标签状态;
    Win32EditBox 编辑框系统音量;
    Win32EditBox 编辑框中控ID;
    Win32CheckBox 选择框刷卡开机;
    Win32EditBox 编辑框投影机预热时间;
    Win32EditBox 编辑框投影机散热时间;
    Win32EditBox 编辑框幕布时间;
    Win32ComboList 组合框波特率;
    Win32ComboList 组合框校验方式;
    Win32EditBox 编辑框开机码;
    Win32EditBox 编辑框关机码;
    Win32EditBox 编辑框视频码;
    Win32EditBox 编辑框电脑码;
    Win32ComboList 组合框投影机型号;
    Win32EditBox 编辑框命令文本;
    Win32ComboList 组合框转换码;
    Win32Label 标签卡数量;
    Win32Label 标签指纹数量;
    Win32EditBox 编辑框卡号;
    Win32Label 标签卡状态;
    Win32EditBox 编辑框授权;
    Win32EditBox 编辑框指纹;
    SettingsView view_;
    projectors::Library library_;
    std::unique_ptr<DatagramLink> udp_;
    protocol::ControllerLink link_;
    commands::SettingsContext context_;
    commands::AnswerWatch watch_;
    WaitTimer wait_timer_;
    Timer report_timer_;
};

} // namespace zk::win32
