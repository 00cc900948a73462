#pragma once
// Projector codes as command text with escapes ("PWR\r"), as projector manuals print them. (The
// page's code boxes hold hex bytes, "50 57 52 0D": parse_hex_bytes and hex_bytes_text in
// base/values.h.)
#include <string>
#include <string_view>
#include <variant>

#include "base/bytes.h"

namespace zk::protocol {

enum class TextProblem
{
    unknown_escape, // "\q": a backslash before anything but r, n, t, x or a backslash
    bad_hex_escape, // "\x4" or "\xZZ": \x wants exactly two hex digits
    lone_backslash, // the text ends in a backslash
    non_ascii,      // a character beyond ASCII (the projector takes bytes, not characters)
};

struct TextRefusal
{
    TextProblem problem;
    std::string piece; // the escape or character refused, as typed
};

// Command text to code bytes. ASCII characters stand for themselves; the escapes \r, \n, \t,
// \\ and \xHH (either case) stand for one byte each.
std::variant<Bytes, TextRefusal> code_from_text(std::string_view text);

// Code bytes as command text: printable ASCII as itself, CR, LF and tab as \r, \n and \t, a
// backslash as \\, every other byte as \xHH; code_from_text gives back the same bytes.
std::string code_to_text(ByteView code);

} // namespace zk::protocol
