#pragma once
// Byte strings written the way frames are written in documents and failure messages.
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace zk::test {

// "48 53 33 FF" to its bytes; white space between pairs is optional. Throws
// std::invalid_argument on anything else, so a mistyped vector fails loudly.
Bytes from_hex(std::string_view text);

// The bytes as upper-case pairs separated by single spaces ("48 53 33 FF"); "" when empty.
std::string to_hex(ByteView bytes);

} // namespace zk::test
