#pragma once
// Page "授权管理", fingerprint and authorisation side. The controller runs enrolment at its own
// reader; the window only starts it and shows the answers.
#include <string_view>

#include "present/settings/context.h"

namespace zk::present {

inline constexpr std::string_view msg_enter_fingerprint = "请输入指纹";

// 按钮添加指纹: prompts "请输入指纹" in 编辑框指纹, then starts enrolment with A5 C5 01 01.
void on_add_fingerprint(SettingsContext& context);

// 按钮删除指纹: sends A5 C5 02; nothing changes before the answer.
void on_delete_fingerprint(SettingsContext& context);

// 按钮暂停授权: sends A4 C5 01; nothing changes before the answer.
void on_pause_authorisation(SettingsContext& context);

// 按钮恢复授权: sends A4 C5 00; nothing changes before the answer.
void on_resume_authorisation(SettingsContext& context);

} // namespace zk::present
