#pragma once
// Page "基本参数": the controller's identity number and its system volume.
#include "present/settings/context.h"

namespace zk::present {

// 按钮读中控ID: asks for the identity number (92 00).
void on_read_controller_id(SettingsContext& context);

// 按钮写中控ID: writes 编辑框中控ID as two bytes (92 C5 hi lo); a number outside 0..65535 is
// refused with a message.
void on_write_controller_id(SettingsContext& context);

// 按钮读系统音量: asks for the volume (A8 00 01).
void on_read_volume(SettingsContext& context);

// 按钮写系统音量: writes 编辑框系统音量 as one byte (A8 C5 01 v); outside 0..255 is refused.
void on_write_volume(SettingsContext& context);

} // namespace zk::present
