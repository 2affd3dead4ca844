// The message a window shows when a tool's work fails, and the hint that
// tells the user what to change. The window goes on after it.
#pragma once

#include <string>

enum class Tool {
    Pointer,    // Calculate: the offset box
    WordToHex,  // CALCULATE: the word box
};

struct ErrorMessage {
    std::u16string text;  // "Run-time error '6':\n\nOverflow", or the error's own words
    std::u16string hint;  // what the input may be; empty where there is nothing to add
};

// Describes the exception being handled: call it inside a catch block.
// ArithmeticOverflow is run-time error 6 with the tool's own hint, running out
// of memory error 7; any other error gives its own words.
ErrorMessage DescribeCurrentError(Tool tool);
