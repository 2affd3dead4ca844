// The value rules that the conversions share beyond the public ones.
#pragma once

namespace conversions {

// The ASCII character that a full-width form (U+FF01 to U+FF5E) or the
// ideographic space stands for; any other code unit as it is.
char16_t AsciiStandIn(char16_t unit);

}  // namespace conversions
