// Numbers as the ROM commands read and write them: hex read strictly, so
// that a typo is refused rather than read as another number, and offsets and
// addresses written as `$1C010`.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rom {

// A number that does not read, with the reason ("'O' at column 4 is not a
// hex digit").
class NumberError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// A number too large to be one the ROM commands take.
class NumberTooLarge : public NumberError {
public:
    using NumberError::NumberError;
};

// Hex digits (full-width ones too), after one `$` or `0x` or before one
// trailing `h`, with spaces or tabs around and between groups of digits:
// "8123", "$8123", "0x8123", "8123h", " 81 23 ", of a UTF-8 text. Throws
// NumberError for anything else, naming the first character that is no
// digit and its column, counted in characters from 1, and NumberTooLarge
// for a value past 2^60 - 1.
std::uint64_t ReadHex(std::string_view text);

// A decimal number, or a hex one after `0x` or `$`: counts and banks.
// Throws NumberError.
std::uint64_t ReadCount(std::string_view text);

// `$` and upper-case hex: "$1C010".
std::string Dollar(std::uint64_t value);

// Two upper-case hex digits.
std::string ByteHex(std::uint8_t value);

}  // namespace rom
