// Reads any bytes as a table file: it is refused with a line, or it decodes
// any bytes, and a text of plain entries that it encodes decodes back.
#include <cstdlib>
#include <string>

#include "rom/table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::size_t split = file.find('\x1E');  // the table, then bytes to decode
    rom::Table table;
    try {
        table = rom::Table::Read(file.substr(0, split));
    } catch (const rom::TableError& error) {
        if (error.line() == 0) {
            std::abort();
        }
        return 0;
    }
    const std::string_view rest =
        split == std::string_view::npos ? std::string_view() : file.substr(split + 1);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(rest.data());
    const rom::Decoded decoded = table.decode(bytes, rest.size(), false);
    const std::string text = rom::WithoutLayoutBreaks(decoded.text);
    if (text.find('<') != std::string::npos) {
        return 0;  // a raw byte, or an entry's text that reads as one: no round trip promised
    }
    try {
        const std::vector<std::uint8_t> encoded = table.encode(text);
        if (rom::WithoutLayoutBreaks(table.decode(encoded.data(), encoded.size(), false).text) !=
            text) {
            std::abort();
        }
    } catch (const rom::EncodeError&) {
    }
    return 0;
}
