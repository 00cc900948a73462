#include "support/hex.h"

#include <stdexcept>

namespace zk::test {

namespace {

int digit_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

Bytes from_hex(std::string_view text)
{
    Bytes bytes;
    for (std::size_t at = 0; at < text.size();) {
        if (is_blank(text[at])) {
            ++at;
            continue;
        }
        const int high = digit_value(text[at]);
        const int low = at + 1 < text.size() ? digit_value(text[at + 1]) : -1;
        if (high < 0 || low < 0)
            throw std::invalid_argument("not a hex byte at offset " + std::to_string(at) +
                                        " of \"" + std::string(text) + "\"");
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        at += 2;
    }
    return bytes;
}

std::string to_hex(ByteView bytes)
{
    constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) text.push_back(' ');
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0x0F]);
    }
    return text;
}

} // namespace zk::test
