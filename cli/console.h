// quorvane-cli as a function of its arguments and its console, which the
// program's entry point binds to the process's own streams.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "answers.h"

// The exit statuses of every command.
enum Status : int {
    kDone = 0,       // all done
    kRefused = 1,    // an input or a file's content was refused; the rest answered
    kUsage = 2,      // the command line itself is wrong
    kIoFailed = 74,  // a read or write failed part way, as sysexits names it
};

// A standard stream or a file that failed part way: "standard output: No
// space left on device".
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Console {
    // Reads what standard input has, up to `size` bytes, waiting for some;
    // 0 at its end. Throws IoError.
    std::function<std::size_t(char* buffer, std::size_t size)> read;
    std::function<void(std::string_view)> write;     // to standard output, at once; throws IoError
    std::function<void(std::string_view)> complain;  // to standard error, at once
};

// Runs quorvane-cli with `arguments` (UTF-8, the program's name first).
// Returns its exit status.
int Run(const std::vector<std::string>& arguments, const Console& console);

// Answers each operand, or where there are none each line of standard
// input, with a line of standard output, in order, each answer written
// before more input is awaited. A failed input's line stays empty and its
// message goes to standard error. True where every input was answered.
bool AnswerAll(const Request& request, const std::vector<std::string>& operands,
               const Console& console);
