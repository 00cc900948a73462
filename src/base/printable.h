#pragma once
// Text that came in a datagram, made safe to print: it may hold control bytes, line breaks or
// bytes that are not UTF-8, and none of them may reach a terminal, a CSV row or a JSON string.
#include <string>
#include <string_view>

namespace zk {

// Printable UTF-8 characters as they are; every other byte (controls, DEL, C1 controls, bytes
// of no valid UTF-8 sequence) as \xHH and a backslash as \\, so the result is one line of valid
// UTF-8 that tells the bytes apart.
std::string printable(std::string_view bytes);

} // namespace zk
