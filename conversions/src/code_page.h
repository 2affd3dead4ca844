// What a code unit's code is: the seam between the conversions and the
// system's 8-bit (ANSI) code page, which only the Windows build fills with
// the system's own; every other build has Windows-1252.
#pragma once

#include <cstdint>
#include <optional>

namespace conversions {

// The code the system's code page has for a code unit that is not ASCII: a
// byte, 0 to 255, or a double-byte character's lead and trail bytes read as
// one 16-bit signed value; nothing where the code page has none, as it never
// stands in a similar letter for one.
std::optional<std::int16_t> SystemCodePageCode(char16_t unit);

// The ASCII character a full-width form (U+FF01 to U+FF5E) or the
// ideographic space stands for; any other code unit as it is.
char16_t AsciiStandIn(char16_t unit);

}  // namespace conversions
