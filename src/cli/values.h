#pragma once
// What the operator types, checked before anything is sent: each parser names the field in its
// message (thrown as a usage error) instead of wrapping or guessing a value. The readings
// themselves are the core's (base/values.h); MAC and hex bytes are written with its
// mac_text and hex_bytes_text.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/bytes.h"
#include "base/values.h"

namespace zk::cli {

// Text the operator or a file gave, quoted back in a message: printable and cut after 40 bytes,
// as a spreadsheet cell or a library entry may hold anything at any length.
std::string quote_back(std::string_view text);

// "84:C2:E4:00:00:01" or with "-"; one or two hex digits a byte, any case.
Bytes parse_mac(std::string_view text);

// Decimal digits only, 0..max; `field` names the value in the message.
std::uint32_t parse_number(std::string_view text, std::string_view field, std::uint32_t max);

// A card number, 0..4294967295.
std::uint32_t parse_card(std::string_view text);

// Code bytes as hex text: tokens of one or two hex digits separated by spaces ("7E 30 0D").
Bytes parse_code(std::string_view text, std::string_view field);

// "none", "odd", "even" (or 0, 1, 2) to the controller's parity index.
std::uint8_t parse_parity(std::string_view text, std::string_view field = "--parity");
std::string parity_text(std::uint8_t parity);

// One of the rates the controller's serial port offers.
std::uint32_t parse_baud(std::string_view text, std::string_view field = "--baud");

// The largest value of each numeric setting; set and restore both check against them.
inline constexpr std::uint32_t max_id = 65535;
inline constexpr std::uint32_t max_volume = 255;
inline constexpr std::uint32_t max_seconds = 255; // screen interval, warm-up, cool-down

// The controller's power-on mode: "swipe" (a card powers on) or "public".
bool parse_swipe_mode(std::string_view text);

} // namespace zk::cli
