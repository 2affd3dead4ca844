// dump: the script of a pointer table, written through Outputs, never over
// an input or over a person's edited script.
#include "commands.h"
#include "files.h"
#include "paths.h"
#include "rom/dump.h"
#include "rom/numbers.h"
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
        head.width = options.width;
        head.lines = options.lines;
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
