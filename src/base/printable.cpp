#include "base/printable.h"

#include <cstdint>

namespace zk {

namespace {

// The well-formed UTF-8 lead bytes, the length of their sequence and the range of the byte
// after them, which rules out overlong forms, surrogates and code points past U+10FFFF.
struct Lead
{
    std::uint8_t first, last;
    std::size_t length;
    std::uint8_t low, high;
};
constexpr Lead leads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// Length of the valid UTF-8 sequence at `at` (1 to 4), or 0 when the bytes there are none.
std::size_t sequence_length(std::string_view s, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[at + i]); };
    if (byte(0) < 0x80) return 1;
    for (const Lead& lead : leads) {
        if (byte(0) < lead.first || byte(0) > lead.last) continue;
        if (at + lead.length > s.size() || byte(1) < lead.low || byte(1) > lead.high) return 0;
        for (std::size_t i = 2; i < lead.length; ++i)
            if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
        return lead.length;
    }
    return 0;
}

// U+0080 to U+009F: control characters encoded as C2 80 to C2 9F.
bool is_c1_control(std::string_view s, std::size_t at)
{
    return static_cast<std::uint8_t>(s[at]) == 0xC2 && static_cast<std::uint8_t>(s[at + 1]) <= 0x9F;
}

void append_escaped(std::string& out, std::uint8_t byte)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

} // namespace

std::string printable(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = sequence_length(bytes, at);
        const auto lead = static_cast<std::uint8_t>(bytes[at]);
        if (length == 1 && lead >= 0x20 && lead != 0x7F) {
            out += lead == '\\' ? "\\\\" : std::string(1, bytes[at]);
        } else if (length > 1 && !(length == 2 && is_c1_control(bytes, at))) {
            out.append(bytes.substr(at, length));
        } else {
            for (std::size_t i = 0; i < (length ? length : 1); ++i)
                append_escaped(out, static_cast<std::uint8_t>(bytes[at + i]));
        }
        at += length ? length : 1;
    }
    return out;
}

} // namespace zk
