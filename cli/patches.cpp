// Patches by their names' extensions.
#include "patches.h"

#include "commands.h"
#include "rom/patch.h"
#include "system_hashes.h"

namespace {

bool EndsWith(const std::string& path, const char* extension) {
    if (path.size() <= 4) {
        return false;  // a name is more than its extension
    }
    std::string name = path.substr(path.size() - 4);
    for (char& c : name) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return name == extension;
}

}  // namespace

void CheckPatchName(const std::string& path) {
    if (!EndsWith(path, ".bps") && !EndsWith(path, ".ips") && !EndsWith(path, ".ups")) {
        throw UsageError(path +
                         ": a patch is written as .bps, .ips or .ups, by its name's extension");
    }
}

rom::Bytes MakePatch(const std::string& path, const rom::Bytes& from, const rom::Bytes& to) {
    if (EndsWith(path, ".bps")) {
        return rom::MakeBps(from, to, SystemHasher());
    }
    if (EndsWith(path, ".ups")) {
        return rom::MakeUps(from, to, SystemHasher());
    }
    return rom::MakeIps(from, to);
}
