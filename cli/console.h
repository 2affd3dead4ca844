// quorvane-cli as a function of its arguments and its console, which the
// program's entry point binds to the process's own streams.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "answers.h"

struct Console {
    // Reads what standard input has, up to `size` bytes, waiting for some;
    // 0 at its end.
    std::function<std::size_t(char* buffer, std::size_t size)> read;
    std::function<void(std::string_view)> write;     // to standard output, at once
    std::function<void(std::string_view)> complain;  // to standard error, at once
};

// Runs quorvane-cli with `arguments` (UTF-8, the program's name first).
// Returns the exit status: 0, 1 where an input failed, 2 for a usage error.
int Run(const std::vector<std::string>& arguments, const Console& console);

// Answers each operand, or where there are none each line of standard
// input, with a line of standard output, in order, each answer written
// before more input is awaited. A failed input's line stays empty and its
// message goes to standard error. True where every input was answered.
bool AnswerAll(const Request& request, const std::vector<std::string>& operands,
               const Console& console);
