// insert: scripts put back into a ROM, every fault named by its script and
// line, and the output and its patch written together or not at all.
#include "commands.h"
#include "files.h"
#include "patches.h"
#include "paths.h"
#include "rom/dump.h"
#include "rom/hashes.h"
#include "rom/insert.h"
#include "rom/numbers.h"
#include "rom/patch.h"
#include "rom_files.h"

namespace {

std::vector<rom::Space> SpacesOf(const std::vector<std::string>& given) {
    std::vector<rom::Space> spaces;
    for (const std::string& text : given) {
        const std::size_t dash = text.find('-');
        try {
            if (dash == std::string::npos) {
                throw rom::NumberError("no '-' between START and END");
            }
            const std::uint64_t first = rom::ReadHex(text.substr(0, dash));
            const std::uint64_t last = rom::ReadHex(text.substr(dash + 1));
            if (last < first) {
                throw rom::NumberError("it ends before it begins");
            }
            spaces.push_back({{first, last}, std::nullopt, 0});
        } catch (const rom::NumberError& error) {
            throw UsageError("--space is START-END, two file offsets in hex: " + text + ": " +
                             error.what());
        }
    }
    return spaces;
}

std::string Plural(std::uint64_t n, const char* one) {
    return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

std::string BankName(const rom::BankUse& bank) {
    return "bank " + std::to_string(bank.bank) + ", " + rom::TypeName(bank.window);
}

std::string NoRoom(const rom::NoRoomError& error) {
    std::string report = "the text does not fit, and nothing is written:";
    bool short_ = false;
    for (const rom::BankUse& bank : error.banks()) {
        report += "\n  " + BankName(bank) + ": " + Plural(bank.needed, "byte") + " needed, " +
                  Plural(bank.holds, "byte") + " in the spaces";
        if (bank.needed > bank.holds) {
            report += ", " + std::to_string(bank.needed - bank.holds) + " short";
            short_ = true;
        }
    }
    return report +
           (short_ ? "" : "\n  (the spaces hold enough, but not in pieces the strings fit)");
}

std::string Written(const std::string& output, const rom::Inserted& inserted) {
    std::string report = "quorvane-cli: " + output + " written";
    for (const rom::BankUse& bank : inserted.banks) {
        report += "\n  " + BankName(bank) + ": " + std::to_string(bank.strings) + " strings (" +
                  std::to_string(bank.shared) + " in another's bytes) in " +
                  std::to_string(bank.needed) + " bytes, of the spaces' " +
                  std::to_string(bank.holds) + "; " + std::to_string(bank.holds - bank.needed) +
                  " left";
    }
    return report + '\n';
}

// Refuses a script dumped from another ROM, or from this one laid out
// otherwise: a script's offsets count the trainer its ROM had.
void CheckScriptRom(const std::string& script, const rom::Script& read, const std::string& path,
                    const rom::Rom& rom, std::uint32_t crc, bool force) {
    const std::string at = script + ": line " + std::to_string(read.pointersLine) + ": ";
    try {
        rom::CheckPointerTable(rom, read.pointers);
    } catch (const rom::RomError& error) {
        throw FileError(at + error.what() + " in " + path);
    }
    if (!read.crc32) {
        return;
    }
    if (read.trainer != rom.header.trainer) {
        throw FileError(script + ": dumped from a ROM " +
                        (read.trainer ? "with a 512-byte trainer; " + path + " has none"
                                      : "without a trainer; " + path + " has a 512-byte one") +
                        ", so every offset in the script is 512 bytes off (--force does not "
                        "change this: dump the script again from this ROM)");
    }
    if (*read.crc32 != crc && !force) {
        throw FileError(script + ": dumped from a ROM whose data's CRC32 is " +
                        rom::Crc32Hex(*read.crc32) + "; " + path + "'s is " + rom::Crc32Hex(crc) +
                        " (--force inserts it anyway)");
    }
}

}  // namespace

int RunInsert(const Options& options, const Console& console) {
    if (options.operands.size() < 2) {
        throw UsageError("the insert command takes a ROM and one script or more");
    }
    if (!options.output) {
        throw UsageError("the insert command needs -o OUT.nes, a file other than the ROM");
    }
    const std::string& path = options.operands[0];
    const std::vector<rom::Space> spaces = SpacesOf(options.spaces);
    std::vector<std::string> inputs = options.operands;
    std::vector<rom::Script> scripts;
    std::vector<rom::Table> tables;
    scripts.reserve(options.operands.size());
    tables.reserve(options.operands.size());
    try {
        for (std::size_t i = 1; i < options.operands.size(); ++i) {
            scripts.push_back(LoadScript(options.operands[i]));
            inputs.push_back(Joined(FolderOf(options.operands[i]), scripts.back().table));
            tables.push_back(LoadTable(inputs.back()));
        }
        CheckOutput(*options.output, inputs);
        if (options.patch) {
            CheckPatchName(*options.patch);
            CheckOutput(*options.patch, inputs);
            if (SameFile(*options.patch, *options.output) || *options.patch == *options.output) {
                throw UsageError("-o and --patch name one file");
            }
        }
        const rom::Rom rom = LoadRom(path);
        std::vector<rom::Translation> translations;
        const std::uint32_t crc = DataCrc(rom);
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            const std::string& script = options.operands[i + 1];
            CheckScriptRom(script, scripts[i], path, rom, crc, options.force);
            const std::vector<rom::ScriptError> layout = rom::LayoutFaults(
                scripts[i], tables[i], options.width ? options.width : scripts[i].width,
                options.lines ? options.lines : scripts[i].lines);
            if (!layout.empty()) {
                throw FileError(FaultsOf(script, rom::ScriptErrors(layout)) +
                                "\nquorvane-cli: nothing is written");
            }
            try {
                translations.push_back(
                    {&scripts[i], &tables[i], rom::EncodeScript(scripts[i], tables[i])});
            } catch (const rom::ScriptErrors& errors) {
                throw FileError(FaultsOf(script, errors));
            }
        }
        const rom::Inserted inserted = rom::Insert(rom, translations, spaces, options.fill);
        Outputs outputs;
        outputs.add(*options.output, std::string(inserted.rom.begin(), inserted.rom.end()));
        if (options.patch) {
            const rom::Bytes patch = MakePatch(*options.patch, rom.file, inserted.rom);
            outputs.add(*options.patch, std::string(patch.begin(), patch.end()));
        }
        outputs.commit();
        console.complain(Written(*options.output, inserted));
        return kDone;
    } catch (const FileError& error) {
        return Refuse(console, error.what());
    } catch (const rom::PatchError& error) {
        return Refuse(console, *options.patch + ": " + error.what());
    } catch (const rom::NoRoomError& error) {
        return Refuse(console, NoRoom(error));
    } catch (const rom::InsertError& error) {
        const std::optional<rom::Space>& space = error.space();
        if (error.fault() != rom::InsertError::Fault::Space) {
            return Refuse(console, std::string(error.what()) + ", and nothing is written");
        }
        if (!space || !space->script) {
            throw UsageError(error.what());
        }
        return Refuse(console, options.operands[*space->script + 1] + ": line " +
                                   std::to_string(space->line) + ": " + error.what());
    }
}
