// The files quorvane-cli reads and writes. Every file it writes goes
// through Outputs, as git's lockfile does: each to a temporary file beside
// the file it replaces (beside the file a link names, not the link),
// flushed to the disk, with the replaced file's permission bits; the
// temporary files are renamed over their targets only once all of a
// command's files are written and every target checked, and what a rename
// replaces is kept until all are in place. On any failure none of them is
// replaced and no temporary file remains. A device or FIFO is written where
// it stands, after the renames. A hard link to a replaced file keeps the
// old content: the new file is another.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "rom/limits.h"

// A file that cannot be opened or read, or whose content is refused:
// "game.nes: not an NES file: ...". Exit status 1.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most that any input may hold: a larger file is refused by its size
// before it is read, a stream once it has given this much.
inline constexpr std::uint64_t kLargestInput = rom::kLargestFile;

// A file's whole content; throws FileError.
std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);

// Whether two paths name one file, by another path or a link too; false
// where either does not exist.
bool SameFile(const std::string& a, const std::string& b);

class Outputs {
public:
    // What to do with a file that is there already.
    enum class Existing {
        Replace,  // a build's output: replaced
        Keep,     // a person's work: refused, unless it holds what would be written
    };

    Outputs() = default;
    Outputs(const Outputs&) = delete;
    Outputs& operator=(const Outputs&) = delete;
    ~Outputs();  // removes the temporary files of what was not committed

    // Writes `content` to a temporary file beside `path`'s file; throws
    // IoError, or FileError for an existing file kept.
    void add(const std::string& path, const std::string& content,
             Existing existing = Existing::Replace);
    // Puts every file in place; throws IoError, having replaced none.
    void commit();

private:
    struct Pending {
        std::string named;      // as the command line named it
        std::string target;     // the file itself
        std::string temporary;  // empty for a device, written where it stands
        std::string content;    // a device's
        std::string kept;       // what the rename replaces, kept until all are in place
    };
    static std::string Kept(const Pending& file);
    void undo(std::size_t replaced);
    std::vector<Pending> pending_;
};
