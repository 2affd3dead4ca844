// The page's way into the ROM library, compiled to WebAssembly as a module
// of its own, started when the ROM view first opens: plain C functions over
// the files the page hands in, and no rule of their own. Each file has a
// slot; the page writes its bytes where quorvane_file says, calls a
// function, and reads what it said (UTF-8) where quorvane_said says, and a
// file made where quorvane_data says.
#include <array>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "page_hashes.h"
#include "rom/describe.h"
#include "rom/header.h"
#include "rom/limits.h"
#include "rom/patch.h"
#include "rom/zip.h"

namespace {

enum Slot { kRom, kPatch, kModified, kMade, kSlots };

std::array<rom::Bytes, kSlots> files;
std::array<std::vector<rom::ZipEntry>, kSlots> zips;  // each zip's entries, as read last
std::string said;
const PageHashes hashes;

rom::Bytes& File(int slot) { return files.at(static_cast<std::size_t>(slot)); }
std::vector<rom::ZipEntry>& Entries(int slot) { return zips.at(static_cast<std::size_t>(slot)); }
const rom::ZipEntry& Entry(int slot, int index) {
    return Entries(slot).at(static_cast<std::size_t>(index));
}

// Runs `work`, which says what it found; a throw says its error instead.
// 0 for a refusal, and "out of memory" where memory ran out.
template <typename Work>
int Said(Work&& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        said = "out of memory";
    } catch (const std::exception& error) {
        said = error.what();
    }
    return 0;
}

}  // namespace

extern "C" {

// Room for a file of `size` bytes in `slot`; none where memory runs out.
std::uint8_t* quorvane_file(int slot, std::uint32_t size) {
    try {
        File(slot).assign(size, 0);
        return File(slot).data();
    } catch (const std::exception&) {
        return nullptr;
    }
}

const std::uint8_t* quorvane_data(int slot) { return File(slot).data(); }
std::uint32_t quorvane_size(int slot) { return static_cast<std::uint32_t>(File(slot).size()); }
const char* quorvane_said() { return said.data(); }
std::uint32_t quorvane_said_length() { return static_cast<std::uint32_t>(said.size()); }

// The most a file may hold, and the words that refuse a larger one.
double quorvane_largest() { return static_cast<double>(rom::kLargestFile); }
int quorvane_too_large() {
    said = rom::LargerThanRead();
    return 0;
}

// A zip: 2, its files' names said a line each. Any other file: 1.
int quorvane_open(int slot) {
    return Said([slot] {
        Entries(slot).clear();
        if (!rom::IsZip(File(slot))) {
            return 1;
        }
        Entries(slot) = rom::ReadZip(File(slot), rom::kLargestFile);
        said.clear();
        for (const rom::ZipEntry& entry : Entries(slot)) {
            said += entry.name + '\n';
        }
        if (Entries(slot).empty()) {
            throw rom::ZipError("the zip holds no file");
        }
        return 2;
    });
}

// A zip's file, chosen: 1 where it was stored, and the slot holds it now; 2
// where it is deflated, its packed bytes where quorvane_packed says, for the
// browser's own inflater (zlib, in both browsers).
std::uint32_t packedAt = 0;
std::uint32_t packedSize = 0;
int quorvane_entry(int slot, int index) {
    return Said([slot, index] {
        const rom::ZipEntry& entry = Entry(slot, index);
        if (entry.deflated) {
            packedAt = static_cast<std::uint32_t>(entry.dataAt);
            packedSize = static_cast<std::uint32_t>(entry.packedSize);
            return 2;
        }
        File(slot) = rom::Bytes(
            File(slot).begin() + static_cast<std::ptrdiff_t>(entry.dataAt),
            File(slot).begin() + static_cast<std::ptrdiff_t>(entry.dataAt + entry.packedSize));
        rom::CheckEntry(entry, File(slot), hashes);
        return 1;
    });
}
// The zip's file to open where none is chosen: its one file, or its one
// game (or with `patch` its one patch) beside others; -1 where the user
// must choose.
int quorvane_choose(int slot, int patch) {
    const std::vector<rom::ZipEntry>& entries = Entries(slot);
    try {
        const rom::ZipEntry& entry =
            rom::ChooseEntry(entries, "", patch != 0 ? rom::Wanted::Patch : rom::Wanted::Game);
        return static_cast<int>(&entry - entries.data());
    } catch (const rom::ZipError&) {
        return -1;
    }
}

std::uint32_t quorvane_packed_at() { return packedAt; }
std::uint32_t quorvane_packed_size() { return packedSize; }
double quorvane_entry_size(int slot, int index) {
    return static_cast<double>(Entry(slot, index).size);
}

// The slot's bytes, inflated by the page, checked as the zip's file: 1, or
// 0 where they are not its size and CRC-32.
int quorvane_inflated(int slot, int index) {
    return Said([slot, index] {
        rom::CheckEntry(Entry(slot, index), File(slot), hashes);
        return 1;
    });
}

// The ROM's header and hashes, said a line each as "label<TAB>words": 1,
// or 0 where it is no NES file, said why.
int quorvane_describe() {
    return Said([] {
        const rom::Rom read = rom::ReadRom(File(kRom));
        said.clear();
        for (const rom::Line& line : rom::DescribeRom(read, hashes)) {
            said += line.label + '\t' + line.shown + '\n';
        }
        for (const std::string& note : read.notes) {
            said += "note\t" + note + '\n';
        }
        return 1;
    });
}

// A slot's CRC32 and SHA-1, said on a line each.
void quorvane_hashes(int slot) {
    const rom::Bytes& file = File(slot);
    said = rom::Crc32Hex(hashes.crc32(file.data(), file.size())) + '\n' +
           rom::Sha1Hex(hashes.sha1(file.data(), file.size()));
}

// The patch applied to the ROM, the result in kMade: 1, with how a header
// was carried said (or nothing); 2 where it is refused but applies across
// the header, said why; 0 where it is refused.
int quorvane_apply(int acrossHeader) {
    return Said([acrossHeader] {
        try {
            rom::Applied applied =
                rom::ApplyPatch(File(kRom), File(kPatch), hashes, acrossHeader != 0);
            File(kMade) = std::move(applied.target);
            said = applied.note;
            return 1;
        } catch (const rom::PatchError& error) {
            said = error.what();
            if (acrossHeader == 0) {
                try {
                    (void)rom::ApplyPatch(File(kRom), File(kPatch), hashes, true);
                    return 2;
                } catch (const rom::PatchError&) {
                }
            }
            return 0;
        }
    });
}

// A patch from the ROM to the modified file, in kMade: 0 BPS, 1 IPS, 2 UPS.
int quorvane_make(int format) {
    return Said([format] {
        File(kMade) = format == 1   ? rom::MakeIps(File(kRom), File(kModified))
                      : format == 2 ? rom::MakeUps(File(kRom), File(kModified), hashes)
                                    : rom::MakeBps(File(kRom), File(kModified), hashes);
        return 1;
    });
}

// What the patch names of the ROM it is for: its format, then the CRC32 a
// BPS or UPS wants (none for IPS), a line each; 0 where it is no patch.
int quorvane_patch() {
    return Said([] {
        const rom::PatchInfo info = rom::DescribePatch(File(kPatch), hashes);
        said = info.format + '\n' + (info.format == "IPS" ? "" : rom::Crc32Hex(info.sourceCrc));
        return 1;
    });
}

}  // extern "C"
