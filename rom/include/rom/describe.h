// What a ROM's header says and its hashes, as lines of a label and its
// words: what `info` prints, and what the page shows.
#pragma once

#include <string>
#include <vector>

#include "rom/hashes.h"
#include "rom/header.h"

namespace rom {

struct Line {
    std::string label;  // "PRG-ROM", "mapper", "file", ...
    std::string shown;  // "64 KiB, 4 banks of 16 KiB"
};

// The header's kind, sizes, mapper, trainer, battery and mirroring, the
// fields of NES 2.0 (or those of iNES 1.0 that are set), then the CRC32 and
// SHA-1 of the file and of the data after the header (and trainer).
std::vector<Line> DescribeRom(const Rom& rom, const Hasher& hasher);

// 65536 as "64 KiB", 1000 as "1000 bytes".
std::string SizeText(std::uint64_t bytes);

}  // namespace rom
