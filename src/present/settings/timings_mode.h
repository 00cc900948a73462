#pragma once
// Page "基本参数": the three projector times and the swipe-card power-on mode.
#include "present/settings/context.h"

namespace zk::present {

// 按钮读时间: asks for the three times (41 00).
void on_read_timings(SettingsContext& context);

// 按钮写时间: writes screen interval, warm-up and cool-down, one byte each, in that order
// (41 C5 02 s w k); a time outside 0..255 is refused with a message naming it.
void on_write_timings(SettingsContext& context);

// 按钮读刷卡开机: asks for the power-on mode (A6 00).
void on_read_swipe_mode(SettingsContext& context);

// 按钮写刷卡开机: ticked writes swipe-card mode (A6 C5 00), clear public mode (A6 C5 02).
void on_write_swipe_mode(SettingsContext& context);

} // namespace zk::present
