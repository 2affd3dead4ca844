#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "console.h"
#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "utf8.h"
#else
#include <unistd.h>
#endif

namespace {

std::string Reason() { return std::strerror(errno); }

// "path: what: why", as every message about a file reads.
std::string About(const std::string& path, const char* what, const std::string& why) {
    std::string message = path;
    message.append(": ").append(what).append(": ").append(why);
    return message;
}

#ifdef _WIN32
std::wstring Wide(const std::string& path) {
    std::u16string units;
    DecodeUtf8(path, units);
    return {units.begin(), units.end()};
}
int Open(const std::string& path, int flags) {
    return _wopen(Wide(path).c_str(), flags | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int Flush(int fd) { return _commit(fd); }
bool Replace(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
void Remove(const std::string& path) { _wremove(Wide(path).c_str()); }
#define read _read
#define write _write
#define close _close
#else
int Open(const std::string& path, int flags) {
    return open(path.c_str(), flags, S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH);
}
int Flush(int fd) { return fsync(fd); }
bool Replace(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
void Remove(const std::string& path) { unlink(path.c_str()); }
#endif

}  // namespace

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const int fd = Open(path, O_RDONLY);
    if (fd < 0) {
        throw FileError(About(path, "cannot be opened", Reason()));
    }
    // Room for the whole file at once, as its size says; more if it grows.
    struct stat status {};
    std::vector<std::uint8_t> bytes(fstat(fd, &status) == 0 && status.st_size > 0
                                        ? static_cast<std::size_t>(status.st_size) + 1
                                        : std::size_t{1} << 16U);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const auto count =
            read(fd, bytes.data() + size,
                 static_cast<unsigned>(std::min<std::size_t>(bytes.size() - size, 1U << 30U)));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            const std::string reason = Reason();
            close(fd);
            throw FileError(About(path, "cannot be read", reason));
        }
        if (count == 0) {
            break;
        }
        size += static_cast<std::size_t>(count);
    }
    close(fd);
    bytes.resize(size);
    return bytes;
}

std::string ReadText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

bool SameFile(const std::string& a, const std::string& b) {
#ifdef _WIN32
    const auto id = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = CreateFileW(Wide(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        const bool got = GetFileInformationByHandle(file, &info) != FALSE;
        CloseHandle(file);
        return got;
    };
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return id(a, first) && id(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
#else
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#endif
}

Outputs::~Outputs() {
    for (const Pending& file : pending_) {
        Remove(file.temporary);
    }
}

void Outputs::add(const std::string& path, const std::string& content) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\");
#else
    const std::size_t slash = path.rfind('/');
#endif
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    int fd = -1;
    std::string temporary;
    for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = folder;
        temporary.append(".").append(name).append(".quorvane-").append(std::to_string(attempt));
        fd = Open(temporary, O_WRONLY | O_CREAT | O_EXCL);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        throw IoError(About(path, "cannot be written", Reason()));
    }
    pending_.push_back({temporary, path});
    for (std::size_t done = 0; done < content.size();) {
        const auto count =
            write(fd, content.data() + done,
                  static_cast<unsigned>(std::min<std::size_t>(content.size() - done, 1U << 30U)));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            const std::string reason = Reason();
            close(fd);
            throw IoError(About(path, "cannot be written", reason));
        }
        done += static_cast<std::size_t>(count);
    }
    if (Flush(fd) != 0) {
        const std::string reason = Reason();
        close(fd);
        throw IoError(About(path, "cannot be written to the disk", reason));
    }
    if (close(fd) != 0) {
        throw IoError(About(path, "cannot be written", Reason()));
    }
}

void Outputs::commit() {
    while (!pending_.empty()) {
        const Pending& file = pending_.front();
        if (!Replace(file.temporary, file.target)) {
            throw IoError(About(file.target, "cannot be written", Reason()));
        }
        pending_.erase(pending_.begin());
    }
}
