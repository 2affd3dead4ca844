// A text table (".tbl"): how a game's bytes stand for text, read from the
// file ROM hackers share, decoding bytes by the longest key and encoding
// text in the fewest bytes that read back as the same text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rom {

// A table file's fault, at its line ("line 7: an odd number of hex digits").
class TableError : public std::runtime_error {
public:
    TableError(std::size_t line, const std::string& fault)
        : std::runtime_error("line " + std::to_string(line) + ": " + fault), line_(line) {}
    [[nodiscard]] std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

// A text the table cannot encode, at a character counted from 1.
class EncodeError : public std::runtime_error {
public:
    EncodeError(std::size_t column, const std::string& fault)
        : std::runtime_error(fault), column_(column) {}
    [[nodiscard]] std::size_t column() const { return column_; }

private:
    std::size_t column_;
};

struct TableEntry {
    enum class Kind {
        Text,     // HEX=text
        End,      // /HEX or /HEX=text: ends a string
        Break,    // *HEX: a line break in the game's text, "<br>" and a layout line break
        Control,  // $HEX=label,N: a label, then N parameter bytes
    };
    Kind kind = Kind::Text;
    std::vector<std::uint8_t> key;
    std::string text;  // as the file gives it; "\n" is a line break of the layout
    unsigned parameters = 0;
    std::size_t line = 0;
};

// What Decode read: the text, the bytes it took (an end token that ended
// it not counted), and that end token (nullptr where the bytes ran out
// first).
struct Decoded {
    std::string text;
    std::size_t size = 0;
    const TableEntry* end = nullptr;
    // Each key's or raw byte's text and bytes, in order: where `text` and the
    // bytes have each piece.
    struct Piece {
        std::size_t text;
        std::size_t textSize;
        std::size_t bytes;
        std::size_t byteSize;
    };
    std::vector<Piece> pieces;
};

class Table {
public:
    // Reads a table file's text (UTF-8, a byte order mark skipped, LF or CR
    // LF); throws TableError for the first fault.
    static Table Read(std::string_view file);

    [[nodiscard]] const std::vector<TableEntry>& entries() const { return entries_; }

    // The first end token of the file, or nullptr.
    [[nodiscard]] const TableEntry* firstEnd() const;

    // How a script writes an end token at a text's end: its bytes, "<$XX>",
    // which no text of the table's entries can be mistaken for.
    [[nodiscard]] std::string writtenEnd(const TableEntry& end) const;

    // The end token a script's text ends with, written as writtenEnd writes
    // it or as its own text where no other entry has that text, and the text
    // before it; nullptr and the whole text where it ends with none.
    [[nodiscard]] std::pair<const TableEntry*, std::string_view> endOfText(
        std::string_view text) const;

    // Decodes bytes, the longest key at each position; a byte no key starts
    // is "<$XX>", as is each parameter byte of a control code. With
    // `stopAtEnd`, an end token ends the text (not written); without, it is
    // written as its text, or as "<$XX>" where it has none. Where an end
    // token's key begins a longer key, the end token is read.
    [[nodiscard]] Decoded decode(const std::uint8_t* data, std::size_t size, bool stopAtEnd) const;

    // What a decoder reads first from `data`, of one byte or more: the bytes
    // it takes (a key and a control code's parameter bytes, or one raw
    // byte), and what they are.
    struct Step {
        enum class Kind { Entry, Raw, End };
        Kind kind = Kind::Raw;
        std::size_t size = 0;
    };
    [[nodiscard]] Step first(const std::uint8_t* data, std::size_t size) const;

    // The fewest bytes that decode, alone, to `text`; between encodings of
    // equal length, the one whose entries come first in the file, compared
    // left to right. "<$XX>" is the byte XX; a layout line break ("\n") is
    // no part of any entry's text here. Throws EncodeError for a character
    // no entry covers, or a text that no bytes read back as.
    [[nodiscard]] std::vector<std::uint8_t> encode(std::string_view text) const;

    // The fewest bytes of a string of the game: `text`, then `end`'s key.
    // They read back as `text` and stop at `end` whatever bytes follow it:
    // no key that begins within them reaches past the end token.
    [[nodiscard]] std::vector<std::uint8_t> encodeString(std::string_view text,
                                                         const TableEntry& end) const;

    // The first longest text at each position, as the field's inserters
    // encode: what the fewest bytes are measured against.
    [[nodiscard]] std::vector<std::uint8_t> encodeGreedy(std::string_view text) const;

private:
    struct Index;  // the keys and texts as tries
    class Encoder;

    // The longest key at the start of `data`, unless an end token comes
    // first; nullptr where none begins there.
    [[nodiscard]] const TableEntry* keyAt(const std::uint8_t* data, std::size_t size) const;

    std::vector<TableEntry> entries_;
    std::shared_ptr<const Index> index_;
};

// A text with its layout line breaks dropped: one line.
std::string WithoutLayoutBreaks(std::string_view text);

}  // namespace rom
