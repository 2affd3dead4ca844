// quorvane-cli's commands, each run from its options as getopt_long read
// them; command_line.cpp reads them and says how to use each.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "console.h"
#include "rom/address.h"

// A command line that is wrong: its message; exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::optional<int> type;
    std::optional<std::uint64_t> bankSize;
    std::optional<std::uint64_t> base;
    std::optional<std::uint64_t> bank;
    std::optional<unsigned> codePage;
    std::optional<std::string> table;
    std::optional<std::string> pointerTo;
    std::optional<std::string> text;
    std::optional<std::string> relative;
    std::optional<std::string> tableOut;
    std::optional<std::uint64_t> pointers;  // dump: the pointer table
    std::optional<std::uint64_t> high;      // dump: a split table's high bytes
    std::optional<std::uint64_t> count;
    std::optional<std::string> output;  // -o
    std::vector<std::string> spaces;    // --space, as given
    std::optional<std::string> patch;
    std::optional<std::uint8_t> fill;
    bool tables = false;                    // find --tables
    bool free = false;                      // find --free
    std::optional<std::uint8_t> freeByte;   // its --byte
    std::optional<std::uint64_t> least;     // its --min
    bool cleanHeader = false;               // header --clean
    bool removeHeader = false;              // header --remove
    std::optional<std::string> headerFrom;  // header --from
    std::optional<std::uint64_t> width;     // dump and insert: the window's width
    std::optional<std::uint64_t> lines;     // and its lines
    bool force = false;
    bool acrossHeader = false;
    bool bytes = false;
    bool trainer = false;
    bool asWindow = false;
    bool json = false;
    std::vector<std::string> operands;
};

// The window of --type, or of --bank-size and --base; nothing where none
// is given. Throws UsageError for a window that is none.
std::optional<rom::BankWindow> BankWindowOf(const Options& options);

// pointer, offset, word and text: an answer an input.
int RunAnswers(Command command, const Options& options, const Console& console);
int RunInfo(const Options& options, const Console& console);
int RunFind(const Options& options, const Console& console);
int RunDump(const Options& options, const Console& console);
int RunInsert(const Options& options, const Console& console);
int RunPatch(const Options& options, const Console& console);
int RunHeader(const Options& options, const Console& console);
