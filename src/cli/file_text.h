#pragma once
// The text of a file someone made on a school's PC: UTF-8 with or without a byte-order mark, or
// GBK as Chinese Windows saves it by default. Told apart as the original tools did: what is not
// valid UTF-8 is GBK.
#include <string>
#include <string_view>

namespace zk::cli {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool is_utf8(std::string_view bytes);

// The file's text as UTF-8: a leading byte-order mark dropped, GBK converted; a byte that is not
// GBK either becomes U+FFFD.
std::string file_text(std::string_view bytes);

} // namespace zk::cli
