// zlib's inflate, for the ROMs the command line reads from zips.
#pragma once

#include "rom/zip.h"

class ZlibInflater : public rom::Inflater {
public:
    [[nodiscard]] rom::Bytes inflate(const std::uint8_t* data, std::size_t size,
                                     std::uint64_t inflatedSize) const override;
};
