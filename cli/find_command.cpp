// find: pointers to a place, text by a table or by how its letters step,
// and free space; hits on standard output, notes on standard error.
#include "commands.h"
#include "files.h"
#include "rom/numbers.h"
#include "rom/search.h"
#include "rom_files.h"

namespace {

// The search the options ask for, named for the line that says it found
// nothing.
std::string SearchOf(const Options& options) {
    return options.pointerTo  ? "--pointer-to " + *options.pointerTo
           : options.text     ? "--text " + *options.text
           : options.relative ? "--relative " + *options.relative
           : options.tables   ? std::string("--tables")
                              : std::string("--free");
}

std::string Pointers(const rom::Rom& rom, std::uint64_t target,
                     const std::vector<rom::BankWindow>& windows) {
    std::string out;
    for (const rom::PointerHit& hit : rom::FindPointers(rom, target, windows)) {
        const std::uint64_t textBank = (target - rom.prgStart()) / hit.window.size;
        out += rom::Dollar(hit.offset) + " bank " + std::to_string(hit.bank) + ' ' +
               rom::TypeName(hit.window) + ' ' + rom::ByteHex(hit.low) + ' ' +
               rom::ByteHex(hit.high) + ", text in bank " + std::to_string(textBank) + '\n';
    }
    return out;
}

std::string Free(const rom::Rom& rom, const Options& options) {
    std::string out;
    for (const rom::FreeRun& run :
         rom::FindFree(rom, options.freeByte, options.least.value_or(16))) {
        out += rom::Dollar(run.first) + "-" + rom::Dollar(run.last) + " bank " +
               std::to_string(run.bank) + (run.fixed ? " type 2 " : " type 1 ") +
               std::to_string(run.last - run.first + 1) + " bytes\n";
    }
    return out;
}

// Each table as dump's options, with how many of its strings are clean.
std::string Tables(const rom::Rom& rom, const rom::Table& table, const Options& options,
                   const std::optional<rom::BankWindow>& window) {
    std::string out;
    const std::vector<rom::BankWindow> windows =
        window ? std::vector<rom::BankWindow>{*window}
               : std::vector<rom::BankWindow>{rom::kType1, rom::kType2};
    for (const rom::FoundTable& found :
         rom::FindTables(rom, table, windows, options.least.value_or(8))) {
        const rom::PointerTable& t = found.table;
        out += "--pointers " + rom::Dollar(t.offset) +
               (t.high ? " --high " + rom::Dollar(*t.high) : "") + " --count " +
               std::to_string(t.count) +
               (t.window == rom::kType1   ? " --type 1"
                : t.window == rom::kType2 ? " --type 2"
                                          : " --bank-size 8 --base " + rom::Dollar(t.window.base)) +
               " --bank " + std::to_string(t.bank) + "  (" + std::to_string(found.clean) + " of " +
               std::to_string(t.count) + " strings clean)\n";
    }
    return out;
}

// The hits, and where they imply different tables, a line that says so.
std::string Relative(const rom::Rom& rom, const rom::RelativeWord& word, const Options& options,
                     const Console& console) {
    const std::vector<rom::RelativeHit> hits = rom::FindRelative(rom, word);
    std::string out;
    std::string tables;
    bool disagree = false;
    for (const rom::RelativeHit& hit : hits) {
        out += rom::Dollar(hit.offset) + " " + rom::RelativeFirsts(hit) + '\n';
        tables +=
            (tables.empty() ? "" : "; ") + rom::Dollar(hit.offset) + " " + rom::RelativeFirsts(hit);
        disagree = disagree || !(hit == hits.front());
    }
    if (options.tableOut && !hits.empty()) {
        Outputs outputs;
        outputs.add(*options.tableOut, rom::RelativeTable(hits.front()),
                    options.force ? Outputs::Existing::Replace : Outputs::Existing::Keep);
        outputs.commit();
    }
    if (disagree) {
        console.complain("quorvane-cli: the hits imply different tables" +
                         std::string(options.tableOut ? " (--table-out has the first's)" : "") +
                         ": " + tables + '\n');
    }
    return out;
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

void CheckOptions(const Options& options) {
    if (options.operands.size() != 1) {
        throw UsageError(options.operands.empty() ? "the find command needs a ROM"
                                                  : "the find command searches one ROM at a time");
    }
    const int searches = (options.pointerTo ? 1 : 0) + (options.text ? 1 : 0) +
                         (options.relative ? 1 : 0) + (options.free ? 1 : 0) +
                         (options.tables ? 1 : 0);
    if (searches != 1) {
        throw UsageError(
            "the find command needs one of --pointer-to, --text, --relative, --free and "
            "--tables");
    }
    if ((options.text || options.tables) != options.table.has_value()) {
        throw UsageError(options.text     ? "--text needs --table"
                         : options.tables ? "--tables needs --table"
                                          : "--table goes with --text and --tables");
    }
    if (options.tableOut && !options.relative) {
        throw UsageError("--table-out goes with --relative");
    }
    if (options.freeByte && !options.free) {
        throw UsageError("--byte goes with --free");
    }
    if (options.least && !options.free && !options.tables) {
        throw UsageError("--min goes with --free and --tables");
    }
}

}  // namespace

int RunFind(const Options& options, const Console& console) {
    CheckOptions(options);
    const std::optional<rom::BankWindow> window = BankWindowOf(options);
    if (window && !options.pointerTo && !options.tables) {
        throw UsageError("a bank's type goes with --pointer-to and --tables");
    }
    std::optional<std::uint64_t> target;
    if (options.pointerTo) {
        try {
            target = rom::ReadHex(*options.pointerTo);
        } catch (const rom::NumberError& error) {
            throw UsageError("--pointer-to is a file offset in hex: " + *options.pointerTo + ": " +
                             error.what());
        }
    }
    std::optional<rom::RelativeWord> relative;
    if (options.relative && !(relative = rom::ReadRelativeWord(*options.relative))) {
        throw UsageError(
            "--relative takes a word of letters, A-Z and a-z, or of digits alone, with two "
            "characters of one kind or more: " +
            *options.relative);
    }
    const std::string& path = options.operands[0];
    if (options.tableOut && SameFile(path, *options.tableOut)) {
        throw UsageError(*options.tableOut + " is the ROM: --table-out writes another file");
    }
    try {
        const rom::Rom rom = LoadRom(path, &console);
        std::string out;
        if (target) {
            const std::uint64_t start = rom.prgStart();
            if (*target < start || *target >= start + rom.header.prgSize) {
                return Refuse(console, path + ": " + rom::Dollar(*target) +
                                           " is not in PRG-ROM, which is " + rom::Dollar(start) +
                                           "-" + rom::Dollar(start + rom.header.prgSize - 1));
            }
            out = Pointers(rom, *target,
                           window ? std::vector<rom::BankWindow>{*window}
                                  : std::vector<rom::BankWindow>{rom::kType1, rom::kType2});
        } else if (options.text) {
            const rom::Table table = LoadTable(*options.table);
            std::vector<std::uint8_t> bytes;
            try {
                bytes = table.encode(*options.text);
            } catch (const rom::EncodeError& error) {
                return Refuse(console, "--text, character " + std::to_string(error.column()) +
                                           ": " + error.what());
            }
            for (const std::uint64_t offset : rom::FindBytes(rom, bytes)) {
                out += rom::Dollar(offset) + '\n';
            }
        } else if (options.free) {
            out = Free(rom, options);
        } else if (options.tables) {
            out = Tables(rom, LoadTable(*options.table), options, window);
        } else {
            out = Relative(rom, *relative, options, console);
        }
        console.write(out);
        const std::size_t count = Lines(out);
        console.complain("quorvane-cli: " +
                         (count == 0 ? "no hits for " + SearchOf(options)
                                     : std::to_string(count) + (count == 1 ? " hit" : " hits")) +
                         " in " + path + '\n');
        return kDone;
    } catch (const FileError& error) {
        return Refuse(console, error.what());
    }
}
