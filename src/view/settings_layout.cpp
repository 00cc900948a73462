#include "view/layout.h"

#include "protocol/serial_line.h"

namespace zk::view {

namespace {

using enum Kind;

constexpr std::string_view pages[] = {"基本参数", "投影机码", "授权管理"};
constexpr std::string_view code_choices[] = {"开码", "关码", "视频码", "电脑码"};

constexpr std::string_view tabs = "选择夹1";
constexpr std::string_view times = "分组框1";
constexpr std::string_view conversion = "分组框2";

// In keyboard tab order within each page.
constexpr ControlLayout settings_controls[] = {
    {"选择夹1", Kind::tab, "", {3, 8, 728, 392}},
    {"标签状态", label, "", {8, 416, 720, 24}},
    // Page 1, "基本参数".
    {"标签1", label, "系统音量", {14, 40, 66, 24}, tabs, 0},
    {"编辑框系统音量", edit, "1", {87, 40, 60, 32}, tabs, 0, Input::integer, true},
    {"按钮读系统音量", button, "读出", {170, 40, 80, 32}, tabs, 0},
    {"按钮写系统音量", button, "写入", {264, 40, 80, 32}, tabs, 0},
    {"选择框刷卡开机", check, "刷卡开机", {88, 91, 80, 24}, tabs, 0},
    {"按钮读刷卡开机", button, "读出", {170, 88, 80, 32}, tabs, 0},
    {"按钮写刷卡开机", button, "写入", {264, 88, 80, 32}, tabs, 0},
    {"标签16", label, "中控ID", {397, 40, 80, 24}, tabs, 0},
    {"编辑框中控ID", edit, "0", {453, 40, 60, 32}, tabs, 0, Input::integer, true},
    {"按钮读中控ID", button, "读出", {541, 40, 80, 32}, tabs, 0},
    {"按钮写中控ID", button, "写入", {629, 40, 80, 32}, tabs, 0},
    {"分组框1", group, "时间参数设置", {21, 144, 672, 224}, tabs, 0},
    {"标签3", label, "投影机预热时间(1-180秒)", {48, 32, 248, 24}, times},
    {"编辑框投影机预热时间", edit, "", {48, 64, 200, 20}, times, -1, Input::integer},
    {"标签5", label, "投影机散热时间(1-180秒)", {48, 128, 248, 24}, times},
    {"编辑框投影机散热时间", edit, "", {48, 160, 200, 20}, times, -1, Input::integer},
    {"标签4", label, "投影机幕布升降间隔时间(1-180秒)", {414, 32, 248, 24}, times},
    {"编辑框幕布时间", edit, "", {414, 64, 200, 20}, times, -1, Input::integer},
    {"按钮读时间", button, "读出", {442, 144, 80, 32}, times},
    {"按钮写时间", button, "写入", {536, 144, 80, 32}, times},
    {"UDP", endpoint, "", {685, 104, 26, 26}, tabs, 0},
    // Page 2, "投影机码".
    {"标签6", label, "波特率", {64, 39, 80, 24}, tabs, 1},
    {"组合框波特率",
     combo,
     "",
     {166, 40, 120, 20},
     tabs,
     1,
     Input::any,
     false,
     protocol::baud_items},
    {"标签7", label, "校验方式", {462, 39, 80, 24}, tabs, 1},
    {"组合框校验方式",
     combo,
     "",
     {554, 40, 100, 20},
     tabs,
     1,
     Input::any,
     false,
     protocol::parity_items},
    {"标签2", label, "投影机开码", {64, 81, 66, 24}, tabs, 1},
    {"编辑框开机码", edit, "", {166, 83, 488, 24}, tabs, 1},
    {"标签9", label, "投影机关码", {64, 127, 80, 24}, tabs, 1},
    {"编辑框关机码", edit, "", {166, 129, 488, 20}, tabs, 1},
    {"标签8", label, "投影视频码", {64, 173, 66, 24}, tabs, 1},
    {"编辑框视频码", edit, "", {166, 171, 488, 24}, tabs, 1},
    {"标签10", label, "投影电脑码", {64, 219, 66, 24}, tabs, 1},
    {"编辑框电脑码", edit, "", {166, 219, 488, 24}, tabs, 1},
    {"分组框2", group, "进制转换", {55, 261, 616, 64}, tabs, 1},
    // The library's entries are added when the window opens; the text is the empty list's prompt.
    {"组合框投影机型号", combo, "投影机型号", {10, 26, 190, 24}, conversion},
    {"编辑框命令文本", edit, "", {210, 26, 306, 24}, conversion},
    {"组合框转换码", combo, "", {526, 26, 80, 24}, conversion, -1, Input::any, false, code_choices},
    {"按钮输入", button, "输入", {157, 336, 104, 32}, tabs, 1},
    {"按钮输出", button, "输出", {293, 336, 104, 32}, tabs, 1},
    {"按钮读串口码", button, "读串口码", {429, 336, 104, 32}, tabs, 1},
    {"按钮写串口码", button, "写串口码", {567, 336, 104, 32}, tabs, 1},
    // Page 3, "授权管理".
    {"标签卡数量", label, "已登记卡数量:", {107, 48, 202, 24}, tabs, 2},
    {"标签指纹数量", label, "已登记指纹数量:", {429, 48, 200, 24}, tabs, 2},
    {"标签13", label, "当前卡号:", {107, 97, 80, 24}, tabs, 2},
    {"编辑框卡号", edit, "", {230, 100, 160, 20}, tabs, 2},
    {"按钮读卡", button, "读卡", {426, 93, 80, 32}, tabs, 2},
    {"按钮写卡", button, "写卡", {523, 93, 80, 32}, tabs, 2},
    {"按钮查看", button, "查卡", {426, 155, 80, 32}, tabs, 2},
    {"按钮删卡", button, "删卡", {523, 155, 80, 32}, tabs, 2},
    {"标签卡状态", label, "", {237, 160, 176, 24}, tabs, 2},
    {"标签14", label, "授权模式:", {107, 222, 80, 24}, tabs, 2},
    {"编辑框授权", edit, "", {230, 224, 160, 20}, tabs, 2},
    {"按钮暂停授权", button, "暂停授权", {426, 217, 80, 32}, tabs, 2},
    {"按钮恢复授权", button, "恢复授权", {523, 217, 80, 32}, tabs, 2},
    {"标签15", label, "指纹模式:", {107, 280, 80, 24}, tabs, 2},
    {"编辑框指纹", edit, "", {230, 284, 160, 20}, tabs, 2},
    {"按钮删除指纹", button, "删除指纹", {426, 280, 80, 32}, tabs, 2},
    {"按钮添加指纹", button, "添加指纹", {523, 280, 80, 32}, tabs, 2},
};

constexpr WindowLayout settings_window{"VARDEN57中控设置", 734, 451, settings_controls, pages};

} // namespace

const WindowLayout& settings_window_layout()
{
    return settings_window;
}

} // namespace zk::view
