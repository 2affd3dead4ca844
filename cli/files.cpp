// Reading inputs under a ceiling, and writing outputs all or nothing.
#include "files.h"

#include <algorithm>
#include <memory>
#include <set>

#include "console.h"
#include "file_system.h"

namespace {

namespace fs = system_files;

// "path: what: why", as every message about a file reads.
std::string About(const std::string& path, const char* what, const std::string& why) {
    std::string message = path;
    message.append(": ").append(what).append(": ").append(why);
    return message;
}

std::string FolderOf(const std::string& path) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\");
#else
    const std::size_t slash = path.rfind('/');
#endif
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// A file beside `path` of a name no other file has, made with `mode`.
std::pair<int, std::string> Beside(const std::string& path, const char* kind, unsigned mode) {
    const std::string folder = FolderOf(path);
    const std::string name = path.substr(folder.size());
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string temporary = folder;
        temporary.append(".").append(name).append(kind).append(std::to_string(attempt));
        const int fd = fs::CreateNew(temporary, mode);
        if (fd >= 0 || !fs::Exists()) {
            return {fd, temporary};
        }
    }
    return {-1, ""};
}

// Writes all of `content`; false with errno's reason where it cannot.
bool WriteAll(int fd, const std::string& content) {
    for (std::size_t done = 0; done < content.size();) {
        const long long count = fs::Write(fd, content.data() + done,
                                          std::min<std::size_t>(content.size() - done, 1U << 30U));
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const int fd = fs::OpenToRead(path);
    if (fd < 0) {
        throw FileError(About(path, "cannot be opened", fs::Reason()));
    }
    const auto tooLarge = [&] { return FileError(path + ": " + rom::LargerThanRead()); };
    const long long known = fs::SizeOf(fd);
    if (known > static_cast<long long>(kLargestInput)) {
        fs::Close(fd);
        throw tooLarge();
    }
    // Room for the whole file at once, as its size says; for a stream of
    // no size, room for as much as may be read, untouched until it is.
    std::vector<std::uint8_t> file;
    std::unique_ptr<std::uint8_t[]> stream;
    std::size_t room = 0;
    if (known >= 0) {
        room = static_cast<std::size_t>(known) + 1;
        file.resize(room);
    } else {
        room = static_cast<std::size_t>(kLargestInput) + 1;
        stream.reset(new std::uint8_t[room]);
    }
    std::uint8_t* const buffer = known >= 0 ? file.data() : stream.get();
    std::size_t size = 0;
    for (;;) {
        if (size == room) {
            fs::Close(fd);
            if (known < 0) {
                throw tooLarge();
            }
            throw FileError(path + ": cannot be read: it grew while it was read");
        }
        const long long count =
            fs::Read(fd, buffer + size, std::min<std::size_t>(room - size, 1U << 30U));
        if (count < 0) {
            const std::string reason = fs::Reason();
            fs::Close(fd);
            throw FileError(About(path, "cannot be read", reason));
        }
        if (count == 0) {
            break;
        }
        size += static_cast<std::size_t>(count);
    }
    fs::Close(fd);
    if (known < 0) {
        return {buffer, buffer + size};
    }
    file.resize(size);
    return file;
}

std::string ReadText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

bool SameFile(const std::string& a, const std::string& b) { return fs::Same(a, b); }

Outputs::~Outputs() {
    for (const Pending& file : pending_) {
        if (!file.temporary.empty()) {
            fs::Remove(file.temporary);
        }
        if (!file.kept.empty()) {
            fs::Remove(file.kept);
        }
    }
}

void Outputs::add(const std::string& path, const std::string& content, Existing existing) {
    const fs::Target target = fs::Inspect(path);
    if (target.folder) {
        throw IoError(path + ": cannot be written: it is a folder");
    }
    if (existing == Existing::Keep && target.regular) {
        if (ReadText(target.path) == content) {
            return;  // it holds what would be written
        }
        throw FileError(path +
                        ": is there already, and would be replaced: nothing is written "
                        "(--force replaces it)");
    }
    if (target.exists && !target.regular) {
        pending_.push_back({path, target.path, "", content, ""});
        return;
    }
    const auto [fd, temporary] =
        Beside(target.path, ".quorvane-", target.exists ? target.mode : fs::NewFileMode());
    if (fd < 0) {
        throw IoError(About(path, "cannot be written", fs::Reason()));
    }
    pending_.push_back({path, target.path, temporary, "", ""});
    if (!WriteAll(fd, content)) {
        const std::string reason = fs::Reason();
        fs::Close(fd);
        throw IoError(About(path, "cannot be written", reason));
    }
    if (!fs::Flush(fd)) {
        const std::string reason = fs::Reason();
        fs::Close(fd);
        throw IoError(About(path, "cannot be written to the disk", reason));
    }
    if (!fs::Close(fd)) {
        throw IoError(About(path, "cannot be written", fs::Reason()));
    }
}

// A hard link to what a rename will replace, or where the system has none,
// a copy of it.
std::string Outputs::Kept(const Pending& file) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string kept = FolderOf(file.target) + "." +
                           file.target.substr(FolderOf(file.target).size()) + ".quorvane-old-" +
                           std::to_string(attempt);
        if (fs::Link(file.target, kept)) {
            return kept;
        }
        if (fs::Inspect(kept).exists) {
            continue;
        }
        const auto [fd, copy] = Beside(file.target, ".quorvane-old-", fs::kOwnerReadWrite);
        const bool copied = fd >= 0 && WriteAll(fd, ReadText(file.target)) && fs::Flush(fd);
        const std::string reason = fs::Reason();
        if (fd >= 0) {
            fs::Close(fd);
        }
        if (!copied) {
            if (fd >= 0) {
                fs::Remove(copy);
            }
            throw IoError(
                About(file.named, "cannot be replaced: it cannot be kept meanwhile", reason));
        }
        return copy;
    }
    throw IoError(file.named + ": cannot be replaced: no name is free beside it");
}

// Puts back what the first `replaced` renames replaced.
void Outputs::undo(std::size_t replaced) {
    for (std::size_t i = 0; i < replaced; ++i) {
        Pending& file = pending_[i];
        if (file.temporary.empty()) {
            continue;
        }
        if (!file.kept.empty() && fs::Replace(file.kept, file.target)) {
            file.kept.clear();
        } else if (file.kept.empty()) {
            fs::Remove(file.target);  // it was not there before
        }
        file.temporary.clear();
    }
}

void Outputs::commit() {
    // What each rename replaces, kept under another name until all are in place.
    for (Pending& file : pending_) {
        if (!file.temporary.empty() && fs::Inspect(file.target).exists) {
            file.kept = Kept(file);
        }
    }
    std::set<std::string> folders;
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        Pending& file = pending_[i];
        if (!file.temporary.empty() && !fs::Replace(file.temporary, file.target)) {
            const std::string reason = fs::Reason();
            undo(i);
            throw IoError(About(file.named, "cannot be written", reason));
        }
        folders.insert(FolderOf(file.target));
    }
    for (const std::string& folder : folders) {
        fs::SyncFolder(folder);
    }
    for (Pending& file : pending_) {
        if (!file.temporary.empty()) {
            continue;
        }
        const int fd = fs::OpenToWrite(file.target);
        const bool written = fd >= 0 && WriteAll(fd, file.content) && fs::Flush(fd);
        const std::string reason = fs::Reason();
        if (fd >= 0) {
            fs::Close(fd);
        }
        if (!written) {
            undo(pending_.size());
            throw IoError(About(file.named, "cannot be written", reason));
        }
    }
    for (Pending& file : pending_) {
        if (!file.kept.empty()) {
            fs::Remove(file.kept);
        }
    }
    pending_.clear();
}
