#pragma once
// Confirming the controller address before the settings window opens.
#include <string_view>

#include "present/app_state.h"
#include "view/controls.h"

namespace zk {

inline constexpr std::string_view msg_enter_controller_ip = "请输入中控IP";

// Takes the trimmed text as the controller address when it is at least 8 bytes long (in the
// double-byte count) and returns true; otherwise shows the prompt and keeps the old address.
bool confirm_controller_address(std::string_view text, AppState& state, MessageBoxes& boxes);

} // namespace zk
