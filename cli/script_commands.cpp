// dump, insert and patch: the commands that write files, every one of them
// through Outputs, never over an input.
#include "commands.h"
#include "files.h"
#include "paths.h"
#include "rom/dump.h"
#include "rom/numbers.h"
#include "rom/patch.h"
#include "system_hashes.h"

namespace {

int Refuse(const Console& console, const std::string& message) {
    console.complain("quorvane-cli: " + message + '\n');
    return kRefused;
}

rom::Rom LoadRom(const std::string& path) {
    try {
        return rom::ReadRom(ReadBytes(path));
    } catch (const rom::RomError& error) {
        throw FileError(path + ": " + error.what());
    }
}

rom::Table LoadTable(const std::string& path) {
    try {
        return rom::Table::Read(ReadText(path));
    } catch (const rom::TableError& error) {
        throw FileError(path + ": " + error.what());
    }
}

std::uint32_t DataCrc(const rom::Rom& rom) {
    const std::uint64_t start = rom.prgStart();
    return SystemHasher().crc32(rom.file.data() + start, rom.file.size() - start);
}

// Refuses an output that is one of the inputs, by any path or link.
void CheckOutput(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (SameFile(output, input)) {
            throw UsageError(std::string(output).append(" is ").append(input) +
                             ", an input: write the output to another file");
        }
    }
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

// The patch from `from` to `to`, BPS or IPS by the file's extension.
rom::Bytes MakePatch(const std::string& path, const rom::Bytes& from, const rom::Bytes& to) {
    const std::string name = Lower(path);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bps") == 0) {
        return rom::MakeBps(from, to, SystemHasher());
    }
    return rom::MakeIps(from, to);
}

void CheckPatchName(const std::string& path) {
    const std::string name = Lower(path);
    const bool known = name.size() > 4 && (name.compare(name.size() - 4, 4, ".bps") == 0 ||
                                           name.compare(name.size() - 4, 4, ".ips") == 0);
    if (!known) {
        throw UsageError(path + ": a patch is written as .bps or .ips, by its name's extension");
    }
}

std::vector<rom::Span> SpacesOf(const std::vector<std::string>& given) {
    std::vector<rom::Span> spaces;
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
            spaces.push_back({first, last});
        } catch (const rom::NumberError& error) {
            throw UsageError("--space is START-END, two file offsets in hex: " + text + ": " +
                             error.what());
        }
    }
    return spaces;
}

}  // namespace

int RunDump(const Options& options, const Console& console) {
    if (options.operands.size() != 1) {
        throw UsageError("the dump command takes one ROM");
    }
    const std::optional<rom::BankWindow> window = WindowOf(options);
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
        head.rom = NameOf(path);
        head.crc32 = DataCrc(rom);
        head.table = RelativeTo(options.output ? FolderOf(*options.output) : "", *options.table);
        head.pointers = {*options.pointers, options.high, *options.count, *window, *options.bank};
        const rom::Dumped dumped = rom::Dump(rom, table, head);
        if (options.output) {
            Outputs outputs;
            outputs.add(*options.output, dumped.script);
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

int RunInsert(const Options& options, const Console& console) {
    if (options.operands.size() < 2) {
        throw UsageError("the insert command takes a ROM and one script or more");
    }
    if (!options.output) {
        throw UsageError("the insert command needs -o OUT.nes, a file other than the ROM");
    }
    const std::string& path = options.operands[0];
    const std::vector<rom::Span> spaces = SpacesOf(options.spaces);
    std::vector<std::string> inputs = options.operands;
    std::vector<rom::Script> scripts;
    std::vector<rom::Table> tables;
    try {
        for (std::size_t i = 1; i < options.operands.size(); ++i) {
            const std::string& script = options.operands[i];
            try {
                scripts.push_back(rom::ReadScript(ReadText(script)));
            } catch (const rom::ScriptError& error) {
                throw FileError(script + ": " + error.what());
            }
            inputs.push_back(Joined(FolderOf(script), scripts.back().table));
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
            if (scripts[i].crc32 && *scripts[i].crc32 != crc && !options.force) {
                std::string message = script;
                message.append(": dumped from a ROM whose data's CRC32 is ")
                    .append(rom::Crc32Hex(*scripts[i].crc32))
                    .append("; ")
                    .append(path)
                    .append("'s is ")
                    .append(rom::Crc32Hex(crc))
                    .append(" (--force inserts it anyway)");
                return Refuse(console, message);
            }
            try {
                translations.push_back({&scripts[i], rom::EncodeScript(scripts[i], tables[i])});
            } catch (const rom::ScriptError& error) {
                throw FileError(script + ": " + error.what());
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
        std::string report = "quorvane-cli: " + *options.output + " written";
        for (const rom::BankUse& bank : inserted.banks) {
            report += "\n  " + bank.bank + ": " + std::to_string(bank.strings) + " strings (" +
                      std::to_string(bank.shared) + " in another's bytes) in " +
                      std::to_string(bank.needed) + " bytes, of the spaces' " +
                      std::to_string(bank.holds) + "; " + std::to_string(bank.holds - bank.needed) +
                      " left";
        }
        console.complain(report + '\n');
        return kDone;
    } catch (const FileError& error) {
        return Refuse(console, error.what());
    } catch (const rom::PatchError& error) {
        return Refuse(console, *options.patch + ": " + error.what());
    } catch (const rom::InsertError& error) {
        if (error.usage()) {
            throw UsageError(error.what());
        }
        return Refuse(console, std::string(error.what()));
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
            const rom::Applied applied = rom::ApplyPatch(first, second, SystemHasher());
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
