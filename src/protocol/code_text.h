#pragma once
// Projector codes in the two forms people write them: hex bytes ("50 57 52 0D") as the page's
// code boxes hold them, and command text with escapes ("PWR\r") as projector manuals print them.
#include <string>
#include <string_view>
#include <variant>

#include "runtime/bytes.h"

namespace zk::protocol {

// Hex text to code bytes: tokens of one or two hex digits (any case) between half-width spaces;
// ideographic spaces at the ends are trimmed. On failure, the first token that is not a byte, as
// typed, so the operator can find it.
std::variant<Bytes, std::string> code_from_hex(std::string_view text);

// "50 57 52 0D": two upper-case digits a byte, one space between; empty for no bytes.
std::string code_to_hex(ByteView code);

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
