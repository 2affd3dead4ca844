// dump and patch: commands that write files, every one of them through
// Outputs, never over an input.
#include "commands.h"
#include "files.h"
#include "patches.h"
#include "paths.h"
#include "rom/dump.h"
#include "rom/numbers.h"
#include "rom/patch.h"
#include "rom_files.h"
#include "system_hashes.h"

int RunDump(const Options& options, const Console& console) {
    if (options.operands.size() != 1) {
        throw UsageError("the dump command takes one ROM");
    }
    const std::optional<rom::BankWindow> window = BankWindowOf(options);
    if (!options.table || !options.pointers || !options.count || !window || !options.bank) {
        throw UsageError(std::string("the dump command needs ") +
                         (!options.table      ? "--table"
                          : !options.pointers ? "--pointers"
                          : !options.count    ? "--count"
                          : !window           ? "--type, or --bank-size with --base"
                                              : "--bank"));
    }
    const std::string& path = options.operands[0];
    if (options.output) {
        CheckOutput(*options.output, {path, *options.table});
    }
    try {
        const rom::Rom rom = LoadRom(path);
        const rom::Table table = LoadTable(*options.table);
        if (*options.bank >= rom.prgBanks(window->size)) {
            throw UsageError("bank " + std::to_string(*options.bank) + " is past the end of " +
                             path + ", which has " + std::to_string(rom.prgBanks(window->size)) +
                             " banks of " + std::to_string(window->size / 1024) + " KiB");
        }
        rom::Script head;
        head.rom = FileNameOf(path);
        head.crc32 = DataCrc(rom);
        head.trainer = rom.header.trainer;
        head.table = RelativeTo(options.output ? FolderOf(*options.output) : "", *options.table);
        head.pointers = {*options.pointers, options.high, *options.count, *window, *options.bank};
        const rom::Dumped dumped = rom::Dump(rom, table, head);
        if (options.output) {
            Outputs outputs;
            outputs.add(*options.output, dumped.script,
                        options.force ? Outputs::Existing::Replace : Outputs::Existing::Keep);
            outputs.commit();
        } else {
            console.write(dumped.script);
        }
        if (dumped.kept > 0) {
            return Refuse(console, path + ": " + std::to_string(dumped.kept) +
                                       (dumped.kept == 1 ? " pointer" : " pointers") +
                                       " could not be followed, written <N> keep with the reason");
        }
        return kDone;
    } catch (const FileError& error) {
        return Refuse(console, error.what());
    } catch (const rom::RomError& error) {
        return Refuse(console, path + ": " + error.what());
    }
}

int RunPatch(const Options& options, const Console& console) {
    const std::vector<std::string>& operands = options.operands;
    const std::string verb = operands.empty() ? "" : operands[0];
    if ((verb != "make" && verb != "apply") || operands.size() != 3) {
        throw UsageError(
            "patch make ORIGINAL MODIFIED -o PATCH.bps|PATCH.ips, or patch apply ROM "
            "PATCH -o OUT");
    }
    if (!options.output) {
        throw UsageError("the patch command needs -o, a file other than its inputs");
    }
    CheckOutput(*options.output, {operands[1], operands[2]});
    if (verb == "make") {
        CheckPatchName(*options.output);
    }
    try {
        const rom::Bytes first = ReadBytes(operands[1]);
        const rom::Bytes second = ReadBytes(operands[2]);
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
