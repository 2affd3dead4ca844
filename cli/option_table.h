// Every option of quorvane-cli, by its value and its long name, as
// getopt_long reads them: for the one file that reads the command line.
#pragma once

#include <getopt.h>

namespace {

// The options' values, as getopt_long reports each.
enum Value : int {
    kHelp = 'h',
    kType = 't',
    kBytes = 'b',
    kBank = 'n',
    kCodePage = 'c',
    kTrainer = 'T',
    kBankSize = 's',
    kBase = 'B',
    kAsWindow = 'w',
    kTable = 'f',
    kJson = 'j',
    kPointerTo = 'p',
    kText = 'x',
    kRelative = 'r',
    kTableOut = 'O',
    kPointers = 'P',
    kHigh = 'H',
    kCount = 'C',
    kOutput = 'o',
    kSpace = 'S',
    kPatch = 'a',
    kFill = 'F',
    kForce = 'y',
    kAcrossHeader = 'A',
    kFree = 'e',
    kByte = 'Y',
    kMin = 'm',
    kClean = 'K',
    kRemove = 'R',
    kFrom = 'M',
    kWidth = 'W',
    kTables = 'Z',
    kLines = 'L',
};

const option kAll[] = {
    {"help", no_argument, nullptr, kHelp},
    {"type", required_argument, nullptr, kType},
    {"bytes", no_argument, nullptr, kBytes},
    {"bank", required_argument, nullptr, kBank},
    {"code-page", required_argument, nullptr, kCodePage},
    {"trainer", no_argument, nullptr, kTrainer},
    {"bank-size", required_argument, nullptr, kBankSize},
    {"base", required_argument, nullptr, kBase},
    {"as-window", no_argument, nullptr, kAsWindow},
    {"table", required_argument, nullptr, kTable},
    {"json", no_argument, nullptr, kJson},
    {"pointer-to", required_argument, nullptr, kPointerTo},
    {"text", required_argument, nullptr, kText},
    {"relative", required_argument, nullptr, kRelative},
    {"table-out", required_argument, nullptr, kTableOut},
    {"pointers", required_argument, nullptr, kPointers},
    {"high", required_argument, nullptr, kHigh},
    {"count", required_argument, nullptr, kCount},
    {"output", required_argument, nullptr, kOutput},
    {"space", required_argument, nullptr, kSpace},
    {"patch", required_argument, nullptr, kPatch},
    {"fill", required_argument, nullptr, kFill},
    {"force", no_argument, nullptr, kForce},
    {"across-header", no_argument, nullptr, kAcrossHeader},
    {"free", no_argument, nullptr, kFree},
    {"byte", required_argument, nullptr, kByte},
    {"min", required_argument, nullptr, kMin},
    {"clean", no_argument, nullptr, kClean},
    {"remove", no_argument, nullptr, kRemove},
    {"from", required_argument, nullptr, kFrom},
    {"width", required_argument, nullptr, kWidth},
    {"tables", no_argument, nullptr, kTables},
    {"lines", required_argument, nullptr, kLines},
};

}  // namespace
