// header: a ROM with its header cleaned as emulators read it, removed, or
// taken from another file, written through Outputs.
#include "commands.h"
#include "files.h"
#include "rom/header.h"
#include "rom_files.h"

namespace {

bool HasMark(const rom::Bytes& file) {
    return file.size() >= rom::kHeaderBytes && file[0] == 'N' && file[1] == 'E' && file[2] == 'S' &&
           file[3] == 0x1A;
}

// The ROM given, with its header as the options say, and a note.
std::pair<rom::Bytes, std::string> Rewritten(const Options& options, const std::string& path,
                                             const rom::Bytes& file) {
    if (options.headerFrom) {
        const rom::Bytes other = ReadRomBytes(*options.headerFrom);
        try {
            rom::ReadHeader(other.data(), other.size());
        } catch (const rom::RomError& error) {
            throw FileError(*options.headerFrom + ": " + error.what());
        }
        rom::Bytes out(other.begin(), other.begin() + rom::kHeaderBytes);
        const auto skip = static_cast<std::ptrdiff_t>(HasMark(file) ? rom::kHeaderBytes : 0);
        out.insert(out.end(), file.begin() + skip, file.end());
        try {
            rom::ReadRom(out);
        } catch (const rom::RomError& error) {
            throw FileError(path + " under the header of " + *options.headerFrom + ": " +
                            error.what());
        }
        return {out, HasMark(file) ? "" : "it had no header: it has " + *options.headerFrom + "'s"};
    }
    if (!HasMark(file)) {
        throw FileError(path + ": " +
                        (options.removeHeader
                             ? std::string("has no header to remove")
                             : "not an NES file: it does not begin with NES and 1A"));
    }
    const rom::Rom rom = LoadRom(path);
    if (options.removeHeader) {
        return {rom::Bytes(file.begin() + rom::kHeaderBytes, file.end()),
                rom.header.trainer ? "its 512-byte trainer is kept, now at the file's start" : ""};
    }
    if (!rom.header.dirty) {
        return {file, "its header is not dirty: it is written as it is"};
    }
    rom::Bytes out = rom::CleanHeader(file.data());
    out.insert(out.end(), file.begin() + rom::kHeaderBytes, file.end());
    return {out, "bytes 7-15 of its header are now zero, as emulators read them"};
}

}  // namespace

int RunHeader(const Options& options, const Console& console) {
    if (options.operands.size() != 1) {
        throw UsageError("the header command takes one ROM");
    }
    const int changes = (options.cleanHeader ? 1 : 0) + (options.removeHeader ? 1 : 0) +
                        (options.headerFrom ? 1 : 0);
    if (changes != 1) {
        throw UsageError("the header command needs one of --clean, --remove and --from OTHER.nes");
    }
    if (!options.output) {
        throw UsageError("the header command needs -o, a file other than the ROM");
    }
    const std::string& path = options.operands[0];
    std::vector<std::string> inputs = {path};
    if (options.headerFrom) {
        inputs.push_back(*options.headerFrom);
    }
    CheckOutput(*options.output, inputs);
    try {
        const auto [out, note] = Rewritten(options, path, ReadRomBytes(path));
        Outputs outputs;
        outputs.add(*options.output, std::string(out.begin(), out.end()));
        outputs.commit();
        if (!note.empty()) {
            console.complain("quorvane-cli: " + path + ": " + note + '\n');
        }
        return kDone;
    } catch (const FileError& error) {
        return Refuse(console, error.what());
    }
}
