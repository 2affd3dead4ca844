// Starts quorvane-cli with the process's own arguments and streams. Standard
// input is read as it comes, so that a pipe or a person typing gets each
// answer as soon as its line is read.
#include <cstdio>
#include <string>
#include <vector>

#include "console.h"
#include "utf8.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

namespace {

void Put(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::size_t ReadInput(char* buffer, std::size_t size) {
#ifdef _WIN32
    const int count = _read(0, buffer, static_cast<unsigned>(size));
#else
    ssize_t count = 0;
    do {
        count = read(STDIN_FILENO, buffer, size);
    } while (count < 0 && errno == EINTR);
#endif
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

int Main(const std::vector<std::string>& arguments) {
    const Console console{ReadInput, [](std::string_view text) { Put(stdout, text); },
                          [](std::string_view text) { Put(stderr, text); }};
    return Run(arguments, console);
}

}  // namespace

#ifdef _WIN32
// Windows passes the arguments as UTF-16, so any word works; standard input
// is UTF-8 here too, read as bytes, and so is a console's while it runs.
int wmain(int argc, wchar_t** argv) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(EncodeUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    }
    _setmode(_fileno(stdin), _O_BINARY);
    const UINT input = GetConsoleCP();
    const UINT output = GetConsoleOutputCP();
    SetConsoleCP(CP_UTF8);
    SetConsoleOutputCP(CP_UTF8);
    const int status = Main(arguments);
    SetConsoleCP(input);
    SetConsoleOutputCP(output);
    return status;
}
#else
int main(int argc, char** argv) { return Main(std::vector<std::string>(argv, argv + argc)); }
#endif
