#include "protocol/hex.h"

namespace zk::protocol {

std::uint32_t parse_hex(std::string_view text)
{
    std::uint32_t value = 0;
    for (const char c : text) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte == 0x20) continue;
        // Deliberately loose: letters from "@" up count from 9, everything below "@" counts from
        // "0" modulo 256, so lower-case and stray characters still give a (wrong) digit.
        const std::uint32_t digit =
            byte >= 0x40 ? byte - 0x37u : static_cast<std::uint8_t>(byte - 0x30u);
        value = value * 16 + digit;
    }
    return value;
}

} // namespace zk::protocol
