// A text table (".tbl"): how a game's bytes stand for text, read from the
// file ROM hackers share, decoding bytes by the longest key and encoding
// text in the fewest bytes that read back as the same text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
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

    // Decodes bytes, the longest key at each position; a byte no key starts
    // is "<$XX>", as is each parameter byte of a control code. With
    // `stopAtEnd`, an end token ends the text (not written); without, it is
    // written as its text, or as "<$XX>" where it has none.
    [[nodiscard]] Decoded decode(const std::uint8_t* data, std::size_t size, bool stopAtEnd) const;

    // The fewest bytes that stand for `text` and decode back to it; between
    // encodings of equal length, the one whose entries come first in the
    // file, compared left to right. "<$XX>" is the byte XX; a layout line
    // break ("\n") is no part of any entry's text here. Throws EncodeError
    // for a character no entry covers, or a text that no bytes read back as.
    [[nodiscard]] std::vector<std::uint8_t> encode(std::string_view text) const;

    // The same, first longest text at each position, as the field's
    // inserters encode: what the fewest bytes are measured against.
    [[nodiscard]] std::vector<std::uint8_t> encodeGreedy(std::string_view text) const;

private:
    struct Trie {
        struct Node {
            std::vector<std::pair<std::uint8_t, std::int32_t>> next;  // sorted by byte
            std::int32_t entry = -1;
        };
        std::vector<Node> nodes{1};
        std::vector<std::int32_t> root = std::vector<std::int32_t>(256, -1);
        std::int32_t child(std::int32_t node, std::uint8_t byte) const;
        std::int32_t add(std::string_view path);
    };

    std::vector<TableEntry> entries_;
    Trie keys_;   // the entries' bytes
    Trie texts_;  // the entries' texts without layout line breaks
    // Each text node's entries, where several have one text, in file order.
    std::vector<std::vector<std::int32_t>> sameText_;
    std::size_t longestKey_ = 0;

    friend class TableBuilder;
    friend class Encoder;
};

// A text with its layout line breaks dropped: one line.
std::string WithoutLayoutBreaks(std::string_view text);

}  // namespace rom
