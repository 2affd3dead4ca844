// Starts quorvane-cli on Windows, with the process's own arguments, as
// Windows passes them (UTF-16, so any word works), and its own streams.
// Standard input is UTF-8 here too, read as bytes as it comes, and so is a
// console's while the program runs.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "console.h"
#include "utf8.h"

namespace {

void Put(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::size_t ReadInput(char* buffer, std::size_t size) {
    const int count = _read(0, buffer, static_cast<unsigned>(size));
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    std::vector<std::string> arguments(static_cast<std::size_t>(argc));
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        arguments[i] = EncodeUtf8(reinterpret_cast<const char16_t*>(argv[i]));
    }
    _setmode(_fileno(stdin), _O_BINARY);
    const UINT input = GetConsoleCP();
    const UINT output = GetConsoleOutputCP();
    SetConsoleCP(CP_UTF8);
    SetConsoleOutputCP(CP_UTF8);
    const Console console{ReadInput, [](std::string_view text) { Put(stdout, text); },
                          [](std::string_view text) { Put(stderr, text); }};
    const int status = Run(arguments, console);
    SetConsoleCP(input);
    SetConsoleOutputCP(output);
    return status;
}
