#include "view/layout.h"

namespace zk::view {

namespace {

using enum Kind;

// Window-level controls first, then the contents of the group box, in keyboard tab order.
constexpr ControlLayout find_controls[] = {
    {"标签7", label, "网卡列表", {16, 8, 72, 24}},
    {"组合框网卡列表", combo, "", {87, 8, 393, 20}},
    {"按钮刷新", button, "刷新", {488, 1, 80, 32}},
    {"分组框1", group, "IP参数", {8, 39, 232, 392}},
    {"标签1", label, "中控IP", {16, 26, 56, 24}, "分组框1"},
    {"编辑框中控IP", edit, "", {81, 28, 128, 20}, "分组框1"},
    {"标签2", label, "子网掩码", {16, 69, 56, 24}, "分组框1"},
    {"编辑框子网掩码", edit, "", {81, 71, 128, 20}, "分组框1"},
    {"标签3", label, "默认网关", {16, 112, 56, 24}, "分组框1"},
    {"编辑框网关", edit, "", {81, 115, 128, 20}, "分组框1"},
    {"标签4", label, "本机IP", {16, 154, 56, 24}, "分组框1"},
    {"编辑框本机IP", edit, "", {81, 155, 128, 20}, "分组框1"},
    {"标签5", label, "服务器IP", {24, 231, 56, 24}},
    {"编辑框服务器IP", edit, "", {89, 234, 128, 20}},
    {"标签6", label, "远程端口", {24, 273, 56, 24}},
    {"编辑框远程端口", edit, "", {89, 277, 128, 20}, {}, -1, Input::integer},
    {"按钮设置IP", button, "设置IP", {16, 290, 88, 32}, "分组框1"},
    {"按钮查找IP", button, "查找中控", {128, 290, 88, 32}, "分组框1"},
    {"按钮设置中控", button, "中控参数设置", {16, 342, 200, 32}, "分组框1"},
    {"UDP", endpoint, "", {104, 257, 26, 26}, "分组框1"},
    {"列表框中控IP", list, "", {248, 39, 320, 384}},
};

constexpr WindowLayout find_window{"查找中控IP", 578, 442, find_controls, {}};

} // namespace

const WindowLayout& find_window_layout()
{
    return find_window;
}

} // namespace zk::view
