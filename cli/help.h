// What quorvane-cli --help says: examples first, then each command.
#pragma once

#include <string>

inline constexpr char kCommandNames[] =
    "pointer, offset, word, text, info, find, dump, insert, patch and header";

std::string Help();

// One command's usage and options; empty for a command there is none of.
std::string CommandHelp(const std::string& name);
