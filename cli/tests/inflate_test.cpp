// zlib's inflate as zips need it: raw deflate data inflated to the size the
// zip's directory says, and data that ends early, holds more or is no
// deflate data refused.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "zlib_inflater.h"

namespace {

rom::Bytes Deflated(const rom::Bytes& data) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    rom::Bytes out(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

TEST(Inflate, GivesWhatWasDeflatedAndRefusesTheRest) {
    rom::Bytes data(100000);
    std::mt19937 random(7);
    for (std::uint8_t& byte : data) {
        byte = static_cast<std::uint8_t>(random() % 4);
    }
    const rom::Bytes packed = Deflated(data);
    const ZlibInflater inflater;
    EXPECT_EQ(inflater.inflate(packed.data(), packed.size(), data.size()), data);
    EXPECT_EQ(inflater.inflate(packed.data(), packed.size(), data.size() + 9), data)
        << "fewer bytes than said are the caller's to refuse, by the entry's size";
    const struct {
        const char* name;
        rom::Bytes packed;
        std::uint64_t size;
    } rows[] = {
        {"cut short", rom::Bytes(packed.begin(), packed.begin() + 100), data.size()},
        {"more than said", packed, data.size() - 1},
        {"no deflate data", rom::Bytes(64, 0xFF), 64},
        {"nothing", rom::Bytes(), 10},
    };
    for (const auto& row : rows) {
        EXPECT_THROW((void)inflater.inflate(row.packed.data(), row.packed.size(), row.size),
                     std::runtime_error)
            << row.name;
    }
}

}  // namespace
