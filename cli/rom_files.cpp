// Reading the ROM library's files, every fault named by its file.
#include "rom_files.h"

#include <algorithm>
#include <cctype>

#include "commands.h"
#include "file_system.h"
#include "files.h"
#include "rom/numbers.h"
#include "rom/zip.h"
#include "system_hashes.h"
#include "zlib_inflater.h"

RomPath SplitRomPath(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t zip = lower.find(".zip:");
    if (zip == std::string::npos || system_files::Inspect(path).exists) {
        return {path, ""};
    }
    return {path.substr(0, zip + 4), path.substr(zip + 5)};
}

std::vector<std::uint8_t> ReadRomBytes(const std::string& path, rom::Wanted wanted) {
    const RomPath named = SplitRomPath(path);
    std::vector<std::uint8_t> file = ReadBytes(named.file);
    if (!rom::IsZip(file)) {
        if (!named.entry.empty()) {
            throw FileError(named.file + ": not a zip, so it holds no " + named.entry);
        }
        return file;
    }
    try {
        const std::vector<rom::ZipEntry> entries = rom::ReadZip(file, kLargestInput);
        const rom::ZipEntry& entry = rom::ChooseEntry(entries, named.entry, wanted);
        return rom::EntryBytes(file, entry, ZlibInflater(), SystemHasher());
    } catch (const rom::ZipError& error) {
        throw FileError(named.file + ": " + error.what());
    }
}

rom::Rom LoadRom(const std::string& path, const Console* notes) {
    try {
        rom::Rom read = rom::ReadRom(ReadRomBytes(path));
        for (const std::string& note : read.notes) {
            if (notes != nullptr) {
                notes->complain(
                    std::string("quorvane-cli: ").append(path).append(": note: ").append(note) +
                    '\n');
            }
        }
        return read;
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

std::string FaultsOf(const std::string& path, const rom::ScriptErrors& errors) {
    std::string text;
    for (const rom::ScriptError& fault : errors.faults()) {
        text += (text.empty() ? "" : "\nquorvane-cli: ") + path + ": " + fault.what();
    }
    return text;
}

rom::Script LoadScript(const std::string& path) {
    try {
        return rom::ReadScript(ReadText(path));
    } catch (const rom::ScriptErrors& errors) {
        throw FileError(FaultsOf(path, errors));
    }
}

std::uint32_t DataCrc(const rom::Rom& rom) {
    const std::uint64_t start = rom.prgStart();
    return SystemHasher().crc32(rom.file.data() + start, rom.file.size() - start);
}

void CheckOutput(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (SameFile(output, input) || SameFile(output, SplitRomPath(input).file)) {
            throw UsageError(std::string(output).append(" is ").append(input) +
                             ", an input: write the output to another file");
        }
    }
}

int Refuse(const Console& console, const std::string& message) {
    console.complain("quorvane-cli: " + message + '\n');
    return kRefused;
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            quoted += "\\u00" + rom::ByteHex(static_cast<std::uint8_t>(c));
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}
