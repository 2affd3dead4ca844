// What quorvane-cli answers one input with: a pointer, a file offset, a
// word's codes or bytes, or the text of bytes.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "rom/address.h"
#include "rom/table.h"

enum class Command { Pointer, Offset, Word, Text };

struct Request {
    Command command = Command::Pointer;
    rom::BankWindow window = rom::kType1;
    bool bytes = false;                 // pointers as their two stored bytes, low byte first
    std::uint64_t bank = 0;             // offset: the bank the pointer's address is in
    bool trainer = false;               // a 512-byte trainer after the header
    bool asWindow = false;              // numbers read as the window reads them
    const rom::Table* table = nullptr;  // word and text: by this table
};

// An input the command cannot answer, with the message that says why.
class Refused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Answered {
    std::string text;
    std::string warning;  // for standard error, where the answer stands but needs a word
};

// The answer to one input: for `pointer`, the pointer in the window's text,
// or its two bytes ("13 81"); for `offset`, the file offset in hex; for
// `word`, the window's codes, or the bytes by the table; for `text`, the
// text. Throws Refused where the input fails.
Answered Answer(const Request& request, std::u16string_view input);
