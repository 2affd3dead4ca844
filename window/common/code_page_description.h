// The hex value box's tool tip: whose codes the word-to-hex tool gives, and
// what chose them, so that a user whose codes look wrong sees why and what
// to change.
#pragma once

#include <string>

#include "conversions/conversions.h"

// "Codes of Windows code page 1251 (Cyrillic), from LANG=ru_RU.UTF-8".
std::u16string CodePageDescription(const conversions::CodePageChoice& choice);
