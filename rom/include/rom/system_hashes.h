// The hashes of a program that runs on the system: zlib's CRC-32 and
// libgcrypt's SHA-1.
#pragma once

#include "rom/hashes.h"

namespace rom {

const Hasher& SystemHasher();

}  // namespace rom
