// What quorvane-cli answers one input with: a pointer, a file offset or a
// word's codes, by the same rules and in the same text as the window.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

enum class Command { Pointer, Offset, Word };

struct Request {
    Command command = Command::Pointer;
    int type = 1;        // the bank's type: 1 (at $8000) or 2 (at $C000)
    bool bytes = false;  // pointers as their two stored bytes, low byte first
    unsigned bank = 0;   // offset: the bank the pointer's address is in
};

// An input the command cannot answer, with the message that says why.
class Refused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The answer to one input: for `pointer`, the window's pointer text, or its
// two bytes ("13 81"); for `offset`, the file offset in hex; for `word`, the
// window's codes. Throws Refused where the input fails.
std::string Answer(const Request& request, std::u16string_view input);
