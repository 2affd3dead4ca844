// The whole of a translation's path from any bytes: a small table whose
// keys begin with others and run into the end byte, a ROM of strings its
// pointer table reaches, a dump, texts changed, an insert, a dump again.
// Every text inserted reads back as written, and no byte changes outside
// the spaces the strings may take and the pointer table.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "rom/dump.h"
#include "rom/insert.h"

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

const char* const kTexts[] = {"a", "b", "ab", "ba", "c", "a", "b"};
const std::uint8_t kBytes[] = {0x01, 0x02, 0x03, 0x07};

std::string Hex(std::uint8_t byte) {
    const char* digits = "0123456789ABCDEF";
    return {digits[byte >> 4U], digits[byte & 15U]};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    // The table: keys of one to three bytes of four, one of them the end byte.
    std::string file = "/07\n01=a\n02=b\n";
    for (int n = input.next() % 6; n > 0; --n) {
        std::string key;
        for (int length = 1 + input.next() % 3; length > 0; --length) {
            key += Hex(kBytes[input.next() % 4]);
        }
        file += key + "=" + kTexts[input.next() % 7] + "\n";
    }
    rom::Table table;
    try {
        table = rom::Table::Read(file);
    } catch (const rom::TableError&) {
        return 0;  // the same key twice
    }
    // One bank, a table of four pointers at $10, strings from $20.
    rom::Bytes bytes = {'N', 'E', 'S', 0x1A, 1, 0};
    bytes.resize(16, 0);
    bytes.resize(16 + 0x4000, 0xEE);
    std::size_t at = 0x20;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t address = 0x8000 + at - 0x10;
        bytes[0x10 + 2 * i] = static_cast<std::uint8_t>(address & 0xFFU);
        bytes[0x11 + 2 * i] = static_cast<std::uint8_t>(address >> 8U);
        for (int n = input.next() % 5; n > 0; --n) {
            bytes[at++] = kBytes[input.next() % 3];
        }
        bytes[at++] = 0x07;
    }
    const rom::Rom rom = rom::ReadRom(bytes);
    rom::Script head;
    head.table = "t.tbl";
    head.pointers = {0x10, std::nullopt, 4, rom::kType1, 0};
    rom::Script script = rom::ReadScript(rom::Dump(rom, table, head).script);
    for (rom::ScriptEntry& entry : script.entries) {
        if (input.next() % 2 == 0) {
            entry.kind = rom::ScriptEntry::Kind::Text;
            entry.text.clear();
            entry.lines.clear();
            for (int n = input.next() % 6; n > 0; --n) {
                entry.text += kTexts[input.next() % 7];
            }
        }
    }
    std::vector<rom::Translation> translations;
    try {
        translations.push_back({&script, &table, rom::EncodeScript(script, table)});
    } catch (const rom::ScriptErrors&) {
        return 0;  // a text no bytes read back as
    }
    const std::vector<rom::Space> spaces = {{{0x100, 0x17F}, std::nullopt, 0}};
    rom::Inserted inserted;
    try {
        inserted = rom::Insert(rom, translations, spaces, std::nullopt);
    } catch (const rom::InsertError&) {
        return 0;
    }
    const rom::Rom out = rom::ReadRom(inserted.rom);
    const rom::Script again = rom::ReadScript(rom::Dump(out, table, head).script);
    for (const rom::ScriptEntry& entry : script.entries) {
        const rom::ScriptEntry* read = &again.entries[entry.index];
        while (read->kind == rom::ScriptEntry::Kind::Same) {
            read = &again.entries[read->same];
        }
        if (entry.kind == rom::ScriptEntry::Kind::Text &&
            (read->kind != rom::ScriptEntry::Kind::Text || read->text != entry.text)) {
            std::abort();
        }
    }
    for (std::size_t i = 0; i < out.file.size(); ++i) {
        const bool free =
            (i >= 0x10 && i < 0x18) || (i >= 0x100 && i < 0x180) ||
            std::any_of(script.spaces.begin(), script.spaces.end(),
                        [&](const rom::Span& s) { return i >= s.first && i <= s.last; });
        if (!free && out.file[i] != rom.file[i]) {
            std::abort();
        }
    }
    return 0;
}
