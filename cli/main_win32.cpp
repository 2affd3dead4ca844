// Starts quorvane-cli on Windows, with the process's own arguments, as
// Windows passes them (UTF-16, so any word works), and its own streams.
// Standard input is UTF-8 here too, read as bytes as it comes, and so is a
// console's while the program runs.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console.h"
#include "utf8.h"

namespace {

void Write(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        throw IoError(std::string("standard output: ") + std::strerror(errno));
    }
}

void Complain(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

std::size_t ReadInput(char* buffer, std::size_t size) {
    const int count = _read(0, buffer, static_cast<unsigned>(size));
    if (count < 0) {
        throw IoError(std::string("standard input: ") + std::strerror(errno));
    }
    return static_cast<std::size_t>(count);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    std::vector<std::string> arguments(static_cast<std::size_t>(argc));
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        arguments[i] = EncodeUtf8(reinterpret_cast<const char16_t*>(argv[i]));
    }
    for (const int fd : {0, 1, 2}) {  // a stream closed at the start is a failure
        if (_get_osfhandle(fd) == -1) {
            return kIoFailed;
        }
    }
    _setmode(_fileno(stdin), _O_BINARY);
    const UINT input = GetConsoleCP();
    const UINT output = GetConsoleOutputCP();
    SetConsoleCP(CP_UTF8);
    SetConsoleOutputCP(CP_UTF8);
    const Console console{ReadInput, Write, Complain};
    const int status = Run(arguments, console);
    SetConsoleCP(input);
    SetConsoleOutputCP(output);
    return status;
}
