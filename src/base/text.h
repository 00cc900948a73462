#pragma once
// Conversions between control texts, numbers and bytes. Texts are UTF-8 in memory; the
// double-byte rules of the original code page are mapped onto Unicode: a non-ASCII character
// counts two bytes, a space is U+0020 or the ideographic space U+3000, and full-width forms
// count as their ASCII twins when a number is read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"

namespace zk {

using TextArray = std::vector<std::string>;

// Leading decimal floating-point number of the text (sign, digits, fraction, exponent) after
// leading white space and full-width folding; 0 when the text holds none.
double to_number(std::string_view text);

// The text with the full-width forms to_number folds replaced by their ASCII twins (３ → 3, the
// ideographic space → space), everything else unchanged.
std::string fold_full_width(std::string_view text);

// Truncation toward zero to 64 bits (NaN gives 0; values beyond the range saturate).
std::int64_t to_integer(double number);

// The low 8 bits of to_integer: 300 gives 44, -1 gives 255.
std::uint8_t to_byte(double number);

// x - d * trunc(x / d): the sign of x, magnitude below |d|.
double remainder(double x, double d);

// "%d" for integers, "%.13g" for numbers.
std::string to_text(std::int64_t value);
std::string to_text(double value);

// "%X": upper-case hexadecimal without leading zeros ("0", "A", "FF").
std::string to_hex_text(std::uint32_t value);

// Bytes taken by the character at `at`: a whole well-formed UTF-8 sequence, otherwise 1. A byte
// that starts no well-formed sequence (overlong forms, surrogates and code points past U+10FFFF
// included) is a character of its own, so malformed text is still walked without ever
// splitting a valid character or reading past the end.
std::size_t char_length(std::string_view text, std::size_t at);

// Length in the double-byte code page: ASCII counts 1, any other character 2.
int text_length(std::string_view text);

// Without leading and trailing spaces (U+0020, U+3000); tabs and line breaks stay.
std::string trim_spaces(std::string_view text);

// Without any space, wherever it stands.
std::string remove_spaces(std::string_view text);

// ASCII a-z raised to A-Z; everything else unchanged.
std::string to_upper(std::string_view text);

// Split at every occurrence of the delimiter, never inside a character; consecutive delimiters
// give empty elements, a trailing delimiter gives none, the empty text gives no element.
TextArray split_text(std::string_view text, std::string_view delimiter);

// The texts joined in order.
std::string concat(std::initializer_list<std::string_view> texts);

} // namespace zk
