#pragma once
// The group box "进制转换" on page "投影机码": a code as command text ("PWR ON\r"), converted
// into the hex bytes of the code box chosen in 组合框转换码 and back. Nothing is sent.
#include "present/settings/context.h"

namespace zk::present {

// 按钮输入: the text of 编辑框命令文本 as hex bytes into the chosen code box. An empty text
// changes nothing; a text that is no code, or codes that would no longer fit one request, are
// refused with a message in 标签状态 and no box changes.
void on_code_text_in(SettingsContext& context);

// 按钮输出: the chosen code box's bytes as command text in 编辑框命令文本.
void on_code_text_out(SettingsContext& context);

} // namespace zk::present
