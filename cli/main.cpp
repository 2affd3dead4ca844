// Starts quorvane-cli with the process's own arguments and streams, on Linux
// and the like (main_win32.cpp on Windows). Standard input is read as it
// comes, so that a pipe or a person typing gets each answer as soon as its
// line is read.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "console.h"

namespace {

void Put(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::size_t ReadInput(char* buffer, std::size_t size) {
    ssize_t count = 0;
    do {
        count = read(STDIN_FILENO, buffer, size);
    } while (count < 0 && errno == EINTR);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Console console{ReadInput, [](std::string_view text) { Put(stdout, text); },
                          [](std::string_view text) { Put(stderr, text); }};
    return Run(std::vector<std::string>(argv, argv + argc), console);
}
