// Raw bytes and columns in a text, and a text's fault where no step goes on.
#include "encode_text.h"

namespace rom {
namespace {

unsigned Hex(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    const unsigned lower = static_cast<unsigned>(c) | 0x20U;
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : 16;
}

std::string CharacterAt(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80) {
        ++end;
    }
    return std::string(text.substr(at, end - at));
}

}  // namespace

std::optional<std::uint8_t> RawAt(std::string_view text, std::size_t at) {
    if (at + kRawSize > text.size() || text[at] != '<' || text[at + 1] != '$' ||
        text[at + 4] != '>' || Hex(text[at + 2]) > 15 || Hex(text[at + 3]) > 15) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(Hex(text[at + 2]) << 4U | Hex(text[at + 3]));
}

std::size_t ColumnOf(std::string_view text, std::size_t at) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        column += (static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80 ? 1 : 0;
    }
    return column;
}

EncodeError Unencodable(std::string_view text, std::size_t at, const TableEntry* control) {
    const std::size_t column = ColumnOf(text, at);
    if (control != nullptr) {
        return {column, "the control code " + control->text + " (line " +
                            std::to_string(control->line) + ") is followed by " +
                            std::to_string(control->parameters) +
                            " parameter bytes, written <$XX>"};
    }
    const std::size_t close = text.find('>', at);
    if (text[at] == '<' && close != std::string_view::npos && close > at + 1 &&
        text.substr(at + 1, close - at - 1).find_first_of("< ") == std::string_view::npos) {
        const std::string label(text.substr(at, close - at + 1));
        return {column,
                label[1] == '$'
                    ? label + " is not a raw byte, which is <$XX>, XX two hex digits"
                    : "an unknown label " + label + ": no entry of the table is written so"};
    }
    return {column, "no entry of the table stands for '" + CharacterAt(text, at) + "'"};
}

}  // namespace rom
