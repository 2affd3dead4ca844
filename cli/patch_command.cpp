// patch make, apply and info: patches made and applied through Outputs,
// never over an input, and what a patch says of itself and of a ROM.
#include "commands.h"
#include "files.h"
#include "patches.h"
#include "rom/hashes.h"
#include "rom/numbers.h"
#include "rom/patch.h"
#include "rom_files.h"
#include "system_hashes.h"

namespace {

// Whether the patch applies to the ROM, and how, in a sentence.
std::string Fit(const rom::PatchInfo& info, const rom::Bytes& rom, const rom::Bytes& patch) {
    std::string how;
    try {
        const rom::Applied applied = rom::ApplyPatch(rom, patch, SystemHasher());
        how = info.format == "IPS"   ? "applies, as IPS applies to any file: it names none"
              : applied.note.empty() ? "applies: its CRC32 is the one the patch was made for"
                                     : "applies: " + applied.note;
    } catch (const rom::PatchError& error) {
        try {
            rom::ApplyPatch(rom, patch, SystemHasher(), true);
            how = std::string("applies with --across-header: ") + error.what();
        } catch (const rom::PatchError&) {
            how = std::string("does not apply: ") + error.what();
        }
    }
    return how;
}

std::string Text(const std::string& path, const rom::PatchInfo& info) {
    std::string out = path + "\n  format:     " + info.format + "\n";
    if (info.format == "IPS") {
        out += "  records:    " + std::to_string(info.records) + ", " + std::to_string(info.runs) +
               (info.runs == 1 ? " of them a run\n" : " of them runs\n");
        out += "  highest:    " + (info.records == 0 ? "none" : rom::Dollar(info.highest)) +
               ", the last byte it writes\n";
        out += "  truncation: " +
               (info.truncation ? std::to_string(*info.truncation) + " bytes" : "none") + "\n";
        return out;
    }
    out += "  source:     " + std::to_string(info.sourceSize) + " bytes, CRC32 " +
           rom::Crc32Hex(info.sourceCrc) + "\n";
    out += "  target:     " + std::to_string(info.targetSize) + " bytes, CRC32 " +
           rom::Crc32Hex(info.targetCrc) + "\n";
    out += "  patch:      CRC32 " + rom::Crc32Hex(info.patchCrc) +
           (info.patchCrcMatches ? "" : " (does not match: the patch is damaged)") + "\n";
    if (info.format == "BPS") {
        out += "  metadata:   " + (info.metadata.empty() ? "none" : info.metadata) + "\n";
    }
    if (!info.sourceHeader.empty()) {
        out += "  header:     the source's is " + info.sourceHeader + ", its data's CRC32 " +
               info.sourceDataCrc + "\n";
    }
    return out;
}

std::string Json(const std::string& path, const rom::PatchInfo& info) {
    std::string out = "{\"file\":" + JsonString(path) + ",\"format\":\"" + info.format + "\"";
    if (info.format == "IPS") {
        out += ",\"records\":" + std::to_string(info.records) +
               ",\"runs\":" + std::to_string(info.runs) +
               ",\"highest\":" + std::to_string(info.highest) + ",\"truncation\":" +
               (info.truncation ? std::to_string(*info.truncation) : std::string("null"));
    } else {
        out += ",\"sourceSize\":" + std::to_string(info.sourceSize) + ",\"sourceCrc32\":\"" +
               rom::Crc32Hex(info.sourceCrc) +
               "\",\"targetSize\":" + std::to_string(info.targetSize) + ",\"targetCrc32\":\"" +
               rom::Crc32Hex(info.targetCrc) + "\",\"patchCrc32\":\"" +
               rom::Crc32Hex(info.patchCrc) +
               "\",\"patchCrc32Matches\":" + (info.patchCrcMatches ? "true" : "false") +
               ",\"metadata\":" + JsonString(info.metadata) +
               ",\"sourceHeader\":" + JsonString(info.sourceHeader) +
               ",\"sourceDataCrc32\":" + JsonString(info.sourceDataCrc);
    }
    return out;
}

int RunPatchInfo(const Options& options, const Console& console) {
    const std::vector<std::string>& operands = options.operands;
    if (operands.size() != 2 && operands.size() != 3) {
        throw UsageError("patch info PATCH [ROM]");
    }
    try {
        const rom::Bytes patch = ReadRomBytes(operands[1], rom::Wanted::Patch);
        rom::PatchInfo info;
        try {
            info = rom::DescribePatch(patch, SystemHasher());
        } catch (const rom::PatchError& error) {
            return Refuse(console, operands[1] + ": " + error.what());
        }
        std::string fit;
        if (operands.size() == 3) {
            fit = Fit(info, ReadRomBytes(operands[2]), patch);
        }
        if (options.json) {
            console.write(Json(operands[1], info) +
                          (fit.empty() ? ""
                                       : ",\"rom\":" + JsonString(operands[2]) +
                                             ",\"fit\":" + JsonString(fit)) +
                          "}\n");
        } else {
            console.write(Text(operands[1], info) +
                          (fit.empty() ? "" : "  " + operands[2] + ": " + fit + "\n"));
        }
        return kDone;
    } catch (const FileError& error) {
        return Refuse(console, error.what());
    }
}

}  // namespace

int RunPatch(const Options& options, const Console& console) {
    const std::vector<std::string>& operands = options.operands;
    const std::string verb = operands.empty() ? "" : operands[0];
    if (verb == "info") {
        return RunPatchInfo(options, console);
    }
    if ((verb != "make" && verb != "apply") || operands.size() != 3) {
        throw UsageError(
            "patch make ORIGINAL MODIFIED -o PATCH.bps|.ips|.ups, patch apply ROM PATCH -o OUT, "
            "or patch info PATCH [ROM]");
    }
    if (!options.output) {
        throw UsageError("the patch command needs -o, a file other than its inputs");
    }
    CheckOutput(*options.output, {operands[1], operands[2]});
    if (verb == "make") {
        CheckPatchName(*options.output);
    }
    try {
        const rom::Bytes first = ReadRomBytes(operands[1]);
        const rom::Bytes second =
            ReadRomBytes(operands[2], verb == "make" ? rom::Wanted::Game : rom::Wanted::Patch);
        rom::Bytes written;
        if (verb == "make") {
            written = MakePatch(*options.output, first, second);
        } else {
            const rom::Applied applied =
                rom::ApplyPatch(first, second, SystemHasher(), options.acrossHeader);
            written = applied.target;
            if (!applied.note.empty()) {
                console.complain("quorvane-cli: " + operands[1] + ": " + applied.note + '\n');
            }
        }
        Outputs outputs;
        outputs.add(*options.output, std::string(written.begin(), written.end()));
        outputs.commit();
        return kDone;
    } catch (const FileError& error) {
        return Refuse(console, error.what());
    } catch (const rom::PatchError& error) {
        return Refuse(console,
                      (verb == "make" ? *options.output : operands[2]) + ": " + error.what());
    }
}
