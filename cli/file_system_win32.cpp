// The files' system calls on Windows: the C runtime's descriptors, and
// Windows' own calls for what a path names and for the renames, whose
// failures are told in GetLastError's words.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "file_system.h"
#include "utf8.h"

namespace system_files {
namespace {

bool lastFromWindows = false;  // whether GetLastError, not errno, has the reason

std::wstring Wide(const std::string& path) {
    std::u16string units;
    DecodeUtf8(path, units);
    return {units.begin(), units.end()};
}

bool Windows(bool done) {
    lastFromWindows = !done;
    return done;
}

int Crt(int result) {
    lastFromWindows = false;
    return result;
}

}  // namespace

std::string Reason() {
    if (!lastFromWindows) {
        return std::strerror(errno);
    }
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string units(text, text + size);
    LocalFree(text);
    while (!units.empty() &&
           (units.back() == u'\n' || units.back() == u'\r' || units.back() == u'.')) {
        units.pop_back();
    }
    return EncodeUtf8(units);
}

int OpenToRead(const std::string& path) {
    return Crt(_wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY));
}

int CreateNew(const std::string& path, unsigned mode) {
    const int permissions = (mode & 0x80U) != 0 ? _S_IREAD | _S_IWRITE : _S_IREAD;
    return Crt(_wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, permissions));
}

bool Exists() { return errno == EEXIST; }

int OpenToWrite(const std::string& path) {
    return Crt(_wopen(Wide(path).c_str(), _O_WRONLY | _O_BINARY));
}

long long Read(int fd, void* bytes, std::size_t size) {
    return Crt(_read(fd, bytes, static_cast<unsigned>(size)));
}

long long Write(int fd, const void* bytes, std::size_t size) {
    return Crt(_write(fd, bytes, static_cast<unsigned>(size)));
}

bool Flush(int fd) { return Crt(_commit(fd)) == 0 || errno == EBADF; }

bool Close(int fd) { return Crt(_close(fd)) == 0; }

long long SizeOf(int fd) {
    struct _stat64 status {};
    return _fstat64(fd, &status) == 0 && (status.st_mode & _S_IFREG) != 0 ? status.st_size : -1;
}

Target Inspect(const std::string& path) {
    Target target{path};
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        target.exists = true;
        target.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        target.regular = !target.folder;
        target.mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? kReadOnly : kReadWrite;
    }
    return target;
}

unsigned NewFileMode() { return kReadWrite; }

bool Replace(const std::string& from, const std::string& to) {
    return Windows(MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE);
}

bool Link(const std::string& path, const std::string& keep) {
    return Windows(CreateHardLinkW(Wide(keep).c_str(), Wide(path).c_str(), nullptr) != FALSE);
}

void Remove(const std::string& path) { DeleteFileW(Wide(path).c_str()); }

void SyncFolder(const std::string&) {}  // MOVEFILE_WRITE_THROUGH has made each rename durable

bool Same(const std::string& a, const std::string& b) {
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
}

}  // namespace system_files
