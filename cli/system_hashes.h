// The ROM's hashes as the command line computes them: zlib's CRC-32, and
// SHA-1 from libgcrypt, or on Windows from Windows' own bcrypt.dll.
#pragma once

#include "rom/hashes.h"

const rom::Hasher& SystemHasher();
