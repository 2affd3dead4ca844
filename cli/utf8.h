// quorvane-cli's inputs are UTF-8 on every platform; the conversions read
// UTF-16, as a window's text box holds it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The UTF-16 of a UTF-8 text, written into `units`; false where the text is
// not well-formed UTF-8 (a stray or missing continuation byte, an overlong
// form, a surrogate, a code point past U+10FFFF).
bool DecodeUtf8(std::string_view text, std::u16string& units);

// The UTF-8 of a UTF-16 text, as Windows passes a program's arguments; a lone
// surrogate, which no character is, becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view units);
