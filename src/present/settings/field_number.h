#pragma once
// Numbers typed into the settings window's edit boxes, checked against the field they go into.
#include <cstdint>
#include <optional>
#include <string_view>

#include "present/settings/context.h"
#include "view/controls.h"

namespace zk::present {

// The box's number truncated toward zero (empty or non-numeric text gives 0) when it lies in
// 0..max; otherwise shows "<label>超出范围(0-<max>)" in the status line and gives nullopt, so the
// caller sends nothing rather than a wrapped value.
std::optional<std::uint32_t> field_number(SettingsContext& context,
                                          const EditBox& box,
                                          std::string_view label,
                                          std::uint32_t max);

// The same for one-byte fields (0..255).
std::optional<std::uint8_t>
field_byte(SettingsContext& context, const EditBox& box, std::string_view label);

} // namespace zk::present
