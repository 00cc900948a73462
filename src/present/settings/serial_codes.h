#pragma once
// Page "投影机码": the projector's serial-port settings and its four codes, read and written in
// one exchange.
#include <array>
#include <string>
#include <string_view>
#include <variant>

#include "base/bytes.h"
#include "present/settings/context.h"

namespace zk::present {

inline constexpr std::string_view msg_codes_too_long = "投影码过长,未写入";
inline constexpr std::string_view msg_invalid_code_byte = "含无效字节:";

struct CodeBox
{
    EditBox& box;
    std::string_view label; // the caption beside the box, used to name it in messages
};

// The four code boxes in the order the controller keeps its codes: power-on, power-off, video,
// computer.
std::array<CodeBox, 4> code_boxes(SettingsView& view);

// The bytes typed in the four boxes, or the message naming the first box with an invalid token.
std::variant<std::array<Bytes, 4>, std::string> codes_in_boxes(SettingsView& view);

// 按钮读串口码: empties the four code boxes and selects baud "0" (the answer appends to the
// boxes), then asks for the settings with 45 00.
void on_read_serial_codes(SettingsContext& context);

// 按钮写串口码: sends baud, parity and the four codes in one 45 C5 payload. A token that is not
// one or two hex digits, or codes too long for one frame, are refused with a message in
// 标签状态 and nothing is sent.
void on_write_serial_codes(SettingsContext& context);

} // namespace zk::present
