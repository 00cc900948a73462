#include "protocol/code_text.h"

#include <algorithm>

#include "base/values.h"

namespace zk::protocol {

namespace {

// The length of the UTF-8 character starting with `lead`, for quoting it whole in a refusal.
std::size_t character_length(unsigned char lead)
{
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

struct Escape
{
    std::variant<std::uint8_t, TextRefusal> result;
    std::size_t length; // characters of the text the escape takes, backslash included
};

// The escape starting at text[at], which is a backslash.
Escape read_escape(std::string_view text, std::size_t at)
{
    if (at + 1 >= text.size()) return {TextRefusal{TextProblem::lone_backslash, "\\"}, 1};
    switch (text[at + 1]) {
    case 'r':
        return {std::uint8_t{0x0D}, 2};
    case 'n':
        return {std::uint8_t{0x0A}, 2};
    case 't':
        return {std::uint8_t{0x09}, 2};
    case '\\':
        return {std::uint8_t{'\\'}, 2};
    case 'x': {
        const std::string_view digits = text.substr(at + 2, 2);
        const std::optional<std::uint8_t> byte =
            digits.size() == 2 ? parse_hex_byte(digits) : std::nullopt;
        if (byte) return {*byte, 4};
        // The two characters that should have been hex digits, each whole.
        std::size_t end = at + 2;
        for (int i = 0; i < 2 && end < text.size(); ++i)
            end += character_length(static_cast<unsigned char>(text[end]));
        end = std::min(end, text.size());
        return {TextRefusal{TextProblem::bad_hex_escape, std::string(text.substr(at, end - at))},
                end - at};
    }
    default: {
        const auto next = static_cast<unsigned char>(text[at + 1]);
        const std::size_t length = 1 + character_length(next);
        return {TextRefusal{TextProblem::unknown_escape, std::string(text.substr(at, length))},
                length};
    }
    }
}

} // namespace

std::variant<Bytes, TextRefusal> code_from_text(std::string_view text)
{
    Bytes bytes;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            return TextRefusal{TextProblem::non_ascii,
                               std::string(text.substr(at, character_length(c)))};
        }
        if (c != '\\') {
            bytes.push_back(c);
            ++at;
            continue;
        }
        const Escape escape = read_escape(text, at);
        if (const auto* refusal = std::get_if<TextRefusal>(&escape.result)) return *refusal;
        bytes.push_back(std::get<std::uint8_t>(escape.result));
        at += escape.length;
    }
    return bytes;
}

std::string code_to_text(ByteView code)
{
    std::string text;
    for (std::uint8_t byte : code) {
        switch (byte) {
        case 0x0D:
            text += "\\r";
            break;
        case 0x0A:
            text += "\\n";
            break;
        case 0x09:
            text += "\\t";
            break;
        case '\\':
            text += "\\\\";
            break;
        default:
            if (byte >= 0x20 && byte < 0x7F)
                text += static_cast<char>(byte);
            else
                text += "\\x" + byte_to_hex_pair(byte);
        }
    }
    return text;
}

} // namespace zk::protocol
