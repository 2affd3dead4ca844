#include "zlib_inflater.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// The stream, ended however inflating ends.
class Stream {
public:
    Stream() {
        if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    ~Stream() { inflateEnd(&stream_); }
    z_stream* operator->() { return &stream_; }
    z_stream* get() { return &stream_; }

private:
    z_stream stream_{};
};

}  // namespace

rom::Bytes ZlibInflater::inflate(const std::uint8_t* data, std::size_t size,
                                 std::uint64_t inflatedSize) const {
    // One byte more than the entry says, so that data that holds more is seen.
    rom::Bytes out(static_cast<std::size_t>(inflatedSize) + 1);
    Stream stream;
    constexpr std::size_t kStep = std::numeric_limits<uInt>::max();
    std::size_t in = 0;
    std::size_t made = 0;
    for (;;) {
        const std::size_t give = std::min(size - in, kStep);
        const std::size_t room = std::min(out.size() - made, kStep);
        stream->next_in = const_cast<Bytef*>(data + in);  // zlib's API is not const
        stream->avail_in = static_cast<uInt>(give);
        stream->next_out = out.data() + made;
        stream->avail_out = static_cast<uInt>(room);
        const int status = ::inflate(stream.get(), Z_NO_FLUSH);
        in += give - stream->avail_in;
        made += room - stream->avail_out;
        if (made > inflatedSize) {
            throw std::runtime_error("it holds more than its directory says");
        }
        if (status == Z_STREAM_END) {
            break;
        }
        if (status == Z_MEM_ERROR) {
            throw std::bad_alloc();
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            throw std::runtime_error(stream->msg != nullptr ? stream->msg : "damaged data");
        }
        if (in == size && stream->avail_in == 0 && status == Z_BUF_ERROR) {
            throw std::runtime_error("its data ends before its last block");
        }
    }
    out.resize(made);
    return out;
}
