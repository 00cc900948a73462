#include "base/printable.h"

#include <cstdint>

#include "base/text.h"

namespace zk {

namespace {

// U+0080 to U+009F: control characters encoded as C2 80 to C2 9F.
bool is_c1_control(std::string_view character)
{
    return character.size() == 2 && static_cast<std::uint8_t>(character[0]) == 0xC2 &&
           static_cast<std::uint8_t>(character[1]) <= 0x9F;
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
        const std::string_view character = bytes.substr(at, char_length(bytes, at));
        const auto lead = static_cast<std::uint8_t>(character[0]);
        if (character == "\\")
            out += "\\\\";
        else if (character.size() == 1 ? lead >= 0x20 && lead < 0x7F : !is_c1_control(character))
            out += character;
        else
            for (const char byte : character)
                append_escaped(out, static_cast<std::uint8_t>(byte));
        at += character.size();
    }
    return out;
}

} // namespace zk
