// Reads any bytes as a ROM: it is refused, or its parts lie within the file
// and every offset of PRG-ROM maps to an address and back.
#include <cstdlib>

#include "rom/address.h"
#include "rom/header.h"
#include "rom/search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rom::Rom read;
    try {
        read = rom::ReadRom(rom::Bytes(data, data + size));
    } catch (const rom::RomError&) {
        return 0;
    }
    const rom::Header& h = read.header;
    if (read.prgStart() + h.prgSize + h.chrSize > read.file.size() || h.prgSize == 0) {
        std::abort();
    }
    const rom::BankWindow window = rom::kType2;
    const std::uint64_t last = read.prgStart() + h.prgSize - 1;
    const auto place = rom::PlaceOf(window, last, h.trainer);
    if (!place || rom::FileOffsetOf(window, place->bank, place->address, h.trainer) != last) {
        std::abort();
    }
    rom::FindPointers(read, last, {rom::kType1, window});
    return 0;
}
