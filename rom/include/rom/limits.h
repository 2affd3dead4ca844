// The most any file given to Quorvane may hold, on the command line and in
// the page alike: a larger one is refused by its size before it is read.
#pragma once

#include <cstdint>
#include <string>

namespace rom {

inline constexpr std::uint64_t kLargestFile = std::uint64_t{256} << 20U;

// "larger than the 256 MiB that Quorvane reads"
inline std::string LargerThanRead() {
    return "larger than the " + std::to_string(kLargestFile >> 20U) + " MiB that Quorvane reads";
}

}  // namespace rom
