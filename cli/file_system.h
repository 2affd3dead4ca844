// What the files need of the system, on POSIX and on Windows: opening,
// reading and writing by descriptor, what a path names, and the renames
// that replace a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace system_files {

// The last failure's reason, in the system's words.
std::string Reason();

int OpenToRead(const std::string& path);
// A new file that did not exist, with `mode`'s permission bits; -1 where
// it exists (Exists() then true) or cannot be made.
int CreateNew(const std::string& path, unsigned mode);
bool Exists();
// A device's or FIFO's descriptor, to write where it stands.
int OpenToWrite(const std::string& path);
// Bytes read or written, or -1; retried where a signal broke in.
long long Read(int fd, void* bytes, std::size_t size);
long long Write(int fd, const void* bytes, std::size_t size);
bool Flush(int fd);
bool Close(int fd);
// The size of an open regular file, or -1 for a stream with none.
long long SizeOf(int fd);

// What a path names, links followed to the file they name.
struct Target {
    std::string path;  // the file itself, the links followed
    bool exists = false;
    bool regular = false;
    bool folder = false;
    unsigned mode = 0;  // its permission bits, where it exists
};
Target Inspect(const std::string& path);
// Permission bits, as POSIX numbers them: read and write for all, and for
// the owner alone.
inline constexpr unsigned kReadWrite = 0x1B6;       // rw-rw-rw-
inline constexpr unsigned kOwnerReadWrite = 0x180;  // rw-------
inline constexpr unsigned kReadOnly = 0x124;        // r--r--r--

// The permission bits a new file gets: read and write for all, less the
// umask.
unsigned NewFileMode();

// Renames `from` over `to`, through to the disk.
bool Replace(const std::string& from, const std::string& to);
// Keeps what `path` holds under `keep` too, as a hard link where the
// system has them.
bool Link(const std::string& path, const std::string& keep);
void Remove(const std::string& path);
// Makes the renames in a folder durable.
void SyncFolder(const std::string& folder);
// Whether two paths name one file.
bool Same(const std::string& a, const std::string& b);

}  // namespace system_files
