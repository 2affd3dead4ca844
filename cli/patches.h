// A patch's format by its file's name, as patch make and insert --patch
// write it.
#pragma once

#include <string>

#include "rom/header.h"

// Refuses a name that is none of .bps, .ips and .ups; throws UsageError.
void CheckPatchName(const std::string& path);

// The patch from `from` to `to` in the format of `path`'s extension.
rom::Bytes MakePatch(const std::string& path, const rom::Bytes& from, const rom::Bytes& to);
