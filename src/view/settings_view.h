#pragma once
// The settings window's controls that handlers and reply presentation read and write, named as
// in its layout.
#include "view/controls.h"

namespace zk {

struct SettingsView
{
    TabControl& 选择夹1;
    Label& 标签状态;
    // Page "基本参数".
    EditBox& 编辑框系统音量;
    EditBox& 编辑框中控ID;
    CheckBox& 选择框刷卡开机;
    EditBox& 编辑框投影机预热时间;
    EditBox& 编辑框投影机散热时间;
    EditBox& 编辑框幕布时间;
    // Page "投影机码".
    ItemList& 组合框波特率;
    ItemList& 组合框校验方式;
    EditBox& 编辑框开机码;
    EditBox& 编辑框关机码;
    EditBox& 编辑框视频码;
    EditBox& 编辑框电脑码;
    ItemList& 组合框投影机型号; // library entries, then "从文件载入…" and "保存到文件…"
    EditBox& 编辑框命令文本;    // a code as command text with escapes
    ItemList& 组合框转换码;     // which code box 输入 and 输出 work on
    // Page "授权管理".
    Label& 标签卡数量;
    Label& 标签指纹数量;
    EditBox& 编辑框卡号;
    Label& 标签卡状态;
    EditBox& 编辑框授权;
    EditBox& 编辑框指纹;
};

} // namespace zk
