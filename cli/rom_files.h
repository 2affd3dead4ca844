// The ROM library's files as the commands read them: each fault named by
// its file (and line), as a FileError.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console.h"
#include "rom/header.h"
#include "rom/script.h"
#include "rom/table.h"
#include "rom/zip.h"

// A ROM as a command line names it: a file, a zip that holds one file, or
// "game.zip:Game.nes", an entry of a zip (where no file has that whole
// name). `file` is what is opened.
struct RomPath {
    std::string file;
    std::string entry;  // empty for a plain file, or a zip's only one
};
RomPath SplitRomPath(const std::string& path);

// A ROM's bytes, or with rom::Wanted::Patch a patch's, from a zip too,
// read with zlib's inflate and checked by its CRC-32; throws FileError.
std::vector<std::uint8_t> ReadRomBytes(const std::string& path,
                                       rom::Wanted wanted = rom::Wanted::Game);

// Each throws FileError naming the file and its fault. A ROM's notes (a
// dirty header...) go to `notes` where one is given.
rom::Rom LoadRom(const std::string& path, const Console* notes = nullptr);
rom::Table LoadTable(const std::string& path);
rom::Script LoadScript(const std::string& path);

// "script.txt: line 3, column 7: fault", a line a fault.
std::string FaultsOf(const std::string& path, const rom::ScriptErrors& errors);

// The CRC32 of the data after the header and any trainer.
std::uint32_t DataCrc(const rom::Rom& rom);

// Refuses an output that is one of the inputs, by any path or link; throws
// UsageError.
void CheckOutput(const std::string& output, const std::vector<std::string>& inputs);

// Writes "quorvane-cli: MESSAGE" on standard error; the status of a refusal.
int Refuse(const Console& console, const std::string& message);

// A text as a JSON string, quoted and escaped.
std::string JsonString(std::string_view text);
