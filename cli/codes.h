// The window's codes read backwards, and the characters a code page has no
// code for.
#pragma once

#include <string>
#include <string_view>

// The text of codes as the window's word tool writes them (" 1F 1E 1C 29",
// four digits a code below "0"), each code plus 48 in the code page in use;
// throws Refused for a code that is none, or stands for no character.
std::string TextOfCodes(std::u16string_view codes);

// Where the code page in use has no code for some of the word's
// characters, which, and how to choose another; empty where it has them all.
std::string NoCodeWarning(std::u16string_view word);
