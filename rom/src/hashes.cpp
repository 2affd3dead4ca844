#include "rom/hashes.h"

#include "rom/numbers.h"

namespace rom {

std::string Crc32Hex(std::uint32_t crc) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        text += ByteHex(static_cast<std::uint8_t>(crc >> static_cast<unsigned>(shift)));
    }
    return text;
}

std::string Sha1Hex(const Sha1& digest) {
    std::string text;
    for (const std::uint8_t byte : digest) {
        text += ByteHex(byte);
    }
    for (char& c : text) {
        c = c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

}  // namespace rom
