#pragma once
// The serial line from the controller to its projector: the rates it can be set to and what its
// parity byte means. The settings page's lists, zkctl's values and the projector files' checks
// are all read from here.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace zk::protocol {

// The rate list as the settings page shows it: "0" (none set) first, then every rate a
// controller takes, in the page's order (17200 and 345600 after 115200, as controllers list them).
inline constexpr std::array<std::string_view, 11> baud_items = {
    "0", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "17200", "345600"};

// Every rate a projector can be driven at: the list without its "0".
inline constexpr std::span<const std::string_view> baud_rates{baud_items.data() + 1,
                                                              baud_items.size() - 1};

// The parity byte's values 0, 1, 2 by name, as zkctl and the projector files write them, and
// as the settings page lists them.
inline constexpr std::array<std::string_view, 3> parity_names = {"none", "odd", "even"};
inline constexpr std::array<std::string_view, 3> parity_items = {"无校验", "奇校验", "偶校验"};

} // namespace zk::protocol
