// The files' system calls on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_system.h"

namespace system_files {

std::string Reason() { return std::strerror(errno); }

int OpenToRead(const std::string& path) { return open(path.c_str(), O_RDONLY | O_CLOEXEC); }

int CreateNew(const std::string& path, unsigned mode) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool Exists() { return errno == EEXIST; }

int OpenToWrite(const std::string& path) { return open(path.c_str(), O_WRONLY | O_CLOEXEC); }

long long Read(int fd, void* bytes, std::size_t size) {
    for (;;) {
        const ssize_t count = read(fd, bytes, size);
        if (count >= 0 || errno != EINTR) {
            return count;
        }
    }
}

long long Write(int fd, const void* bytes, std::size_t size) {
    for (;;) {
        const ssize_t count = write(fd, bytes, size);
        if (count >= 0 || errno != EINTR) {
            return count;
        }
    }
}

bool Flush(int fd) {
    struct stat status {};
    // A device or FIFO has nothing to flush to a disk.
    return fsync(fd) == 0 || (fstat(fd, &status) == 0 && !S_ISREG(status.st_mode));
}

bool Close(int fd) { return close(fd) == 0; }

long long SizeOf(int fd) {
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode) ? status.st_size : -1;
}

Target Inspect(const std::string& path) {
    Target target{path};
    struct stat status {};
    // What is not a file of its own (a terminal, a pipe, a device) is
    // written where the path names it, links and all.
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        target.exists = true;
        target.folder = S_ISDIR(status.st_mode);
        return target;
    }
    // A file, or none yet: the links followed to where the file is.
    for (int links = 0;
         links < 40 && lstat(target.path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
         ++links) {
        std::string named(static_cast<std::size_t>(status.st_size) + 256, '\0');
        const ssize_t size = readlink(target.path.c_str(), named.data(), named.size());
        if (size < 0) {
            break;
        }
        named.resize(static_cast<std::size_t>(size));
        const std::size_t slash = target.path.rfind('/');
        target.path = named[0] == '/' || slash == std::string::npos
                          ? named
                          : target.path.substr(0, slash + 1) + named;
    }
    if (stat(target.path.c_str(), &status) == 0) {
        target.exists = true;
        target.regular = S_ISREG(status.st_mode);
        target.folder = S_ISDIR(status.st_mode);
        target.mode = status.st_mode & (S_ISUID | S_ISGID | S_ISVTX | S_IRWXU | S_IRWXG | S_IRWXO);
    }
    return target;
}

unsigned NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return kReadWrite & ~static_cast<unsigned>(mask);
}

bool Replace(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

bool Link(const std::string& path, const std::string& keep) {
    return link(path.c_str(), keep.c_str()) == 0;
}

void Remove(const std::string& path) { unlink(path.c_str()); }

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

bool Same(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace system_files
