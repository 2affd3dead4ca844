// What a pointer text stands for, for the pointer box's tool tip.
#pragma once

#include <string>
#include <string_view>

// The box shows the pointer as it is stored in the file, low byte first and
// without a leading zero ("80" for 00 80); this spells it out: "CPU address
// $8000, stored as 00 80". A text that is not 1 to 4 hex digits stands for no
// pointer and gets an empty description.
std::u16string PointerDescription(std::u16string_view text);
