// The files quorvane-cli reads and writes. Every file it writes goes
// through Outputs: each to a temporary file in its folder, flushed to the
// disk, and renamed over its target only once all of a command's files are
// written; on any failure no output and no temporary file remain.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A file that cannot be opened or read, or whose content is refused:
// "game.nes: not an NES file: ...". Exit status 1.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file's whole content; throws FileError.
std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);

// Whether two paths name one file, by another path or a link too; false
// where either does not exist.
bool SameFile(const std::string& a, const std::string& b);

class Outputs {
public:
    Outputs() = default;
    Outputs(const Outputs&) = delete;
    Outputs& operator=(const Outputs&) = delete;
    ~Outputs();  // removes the temporary files of what was not committed

    // Writes `content` to a temporary file beside `path`; throws IoError.
    void add(const std::string& path, const std::string& content);
    // Renames every temporary file over its target; throws IoError.
    void commit();

private:
    struct Pending {
        std::string temporary;
        std::string target;
    };
    std::vector<Pending> pending_;
};
