// Starts quorvane-cli with the process's own arguments and streams, on Linux
// and the like (main_win32.cpp on Windows). Standard input is read as it
// comes, so that a pipe or a person typing gets each answer as soon as its
// line is read. A stream that fails is an I/O error; a reader that closes
// the pipe early ends the program quietly, as it ends any filter.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console.h"

namespace {

void Write(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
        std::fflush(stdout) == 0) {
        return;
    }
    if (errno == EPIPE) {  // where SIGPIPE is ignored: end as it would have ended us
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
    }
    throw IoError(std::string("standard output: ") + std::strerror(errno));
}

void Complain(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

std::size_t ReadInput(char* buffer, std::size_t size) {
    ssize_t count = 0;
    do {
        count = read(STDIN_FILENO, buffer, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        throw IoError(std::string("standard input: ") + std::strerror(errno));
    }
    return static_cast<std::size_t>(count);
}

}  // namespace

int main(int argc, char** argv) {
    // A stream closed at the start is a failure, found before any file is
    // opened, so that no file takes its place.
    const char* const names[] = {"standard input", "standard output", "standard error"};
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) == -1) {
            if (fd != STDERR_FILENO && fcntl(STDERR_FILENO, F_GETFD) != -1) {
                Complain("quorvane-cli: " + std::string(names[fd]) + " is closed\n");
            }
            return kIoFailed;
        }
    }
    const Console console{ReadInput, Write, Complain};
    return Run(std::vector<std::string>(argv, argv + argc), console);
}
