// quorvane-cli's commands and options, read by the C library's getopt_long
// (glibc's on Linux, MinGW-w64's on Windows) from one table a command, and
// its help, which leads with examples.
#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "console.h"
#include "conversions/conversions.h"

namespace {

constexpr char kExamples[] =
    R"(Quorvane on the command line: NES ROM pointers and word codes, many at once.

Examples:
  quorvane-cli pointer 8123 8124
      1381 and 1481: the pointers to two file offsets, Type 1
  quorvane-cli pointer --type 2 --bytes 8123
      13 C1: the pointer's two bytes as stored, Type 2
  quorvane-cli pointer < offsets.txt > pointers.txt
      a pointer table: a line of pointer a line of offset
  quorvane-cli offset --type 1 --bank 2 8113
      8123: the file offset that $8113 stands for in bank 2
  quorvane-cli offset --type 1 --bank 2 --bytes 1381
      the same, from the pointer's bytes
  quorvane-cli word --code-page 1251 ПРИВЕТ
      9F A0 98 92 95 A2: the codes in Windows' Cyrillic code page
  cut -f2 script.tsv | quorvane-cli word
      a line of codes a line of the script's second column

Each input is an operand or, where there are none, a line of standard input
(UTF-8). Each answer is a line of standard output, in order; a failed input's
line stays empty, its message goes to standard error and the exit status is 1.
)";

// The options' values, as getopt_long reports each.
enum Value : int { kHelp = 'h', kType = 't', kBytes = 'b', kBank = 'n', kCodePage = 'c' };

struct CommandForm {
    const char* name;
    Command command;
    const char* usage;
    const char* help;  // what it does, and its options
    std::vector<option> options;
};

const option kHelpOption{"help", no_argument, nullptr, kHelp};
const option kTypeOption{"type", required_argument, nullptr, kType};
const option kBytesOption{"bytes", no_argument, nullptr, kBytes};

const std::vector<CommandForm> kCommands = {
    {"pointer",
     Command::Pointer,
     "pointer [--type 1|2] [--bytes] [OFFSET...]",
     "pointer: the pointer to each file offset, read as the window reads it.\n"
     "  --type 1|2   the bank's type: 1 at $8000 (as the window opens), 2 at $C000\n"
     "  --bytes      the pointer's two stored bytes, low byte first: 13 81\n",
     {kHelpOption, kTypeOption, kBytesOption, {}}},
    {"offset",
     Command::Offset,
     "offset --type 1|2 --bank N [--bytes] [POINTER...]",
     "offset: the file offset that each pointer's address stands for in bank N.\n"
     "  --type 1|2   the bank's type: 1 at $8000, 2 at $C000\n"
     "  --bank N     the bank, from the first byte after the header: 0 to 255 (a\n"
     "               4 MiB file), in decimal or in hex after 0x or $\n"
     "  --bytes      each pointer as its two stored bytes, low byte first: 13 81\n",
     {kHelpOption, kTypeOption, kBytesOption, {"bank", required_argument, nullptr, kBank}, {}}},
    {"word",
     Command::Word,
     "word [--code-page N] [WORD...]",
     "word: the codes of each word, each character's code less 48, in hex.\n"
     "  --code-page N  874, 932, 936, 949, 950 or 1250 to 1258, whatever the\n"
     "                 language of the system or of LC_ALL, LC_CTYPE or LANG\n",
     {kHelpOption, {"code-page", required_argument, nullptr, kCodePage}, {}}},
};

// Banks count from the first byte after the header; a 4 MiB file, the
// largest a NES game's program takes, holds 256.
constexpr unsigned kBanks = 256;

// A number in decimal, or with `hex` in hex after "0x" or "$"; nothing for a
// text that is no such number, or one too large to hold.
std::optional<unsigned> Number(std::string_view text, bool hex) {
    int base = 10;
    if (hex && (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0 || text.rfind('$', 0) == 0)) {
        text.remove_prefix(text[0] == '$' ? 1 : 2);
        base = 16;
    }
    unsigned value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || stop != end || error != std::errc()) {
        return std::nullopt;
    }
    return value;
}

// A usage error: its message, and where to read how to use the program.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Help() {
    std::string help = std::string(kExamples) + "\nUsage:\n";
    for (const CommandForm& form : kCommands) {
        help += "  quorvane-cli " + std::string(form.usage) + '\n';
    }
    help += "  quorvane-cli --help | --version\n";
    for (const CommandForm& form : kCommands) {
        help += "\n" + std::string(form.help);
    }
    return help;
}

// The request of a command's arguments, its operands, and the code page
// asked for; throws UsageError.
struct Parsed {
    Request request;
    std::vector<std::string> operands;
    std::optional<unsigned> codePage;
    bool help = false;
};

Parsed Parse(const CommandForm& form, std::vector<std::string> arguments) {
    std::vector<char*> argv(arguments.size() + 1);  // getopt_long's, ended by nullptr
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        argv[i] = arguments[i].data();
    }
    Parsed parsed;
    parsed.request.command = form.command;
    bool typed = false;
    bool banked = false;
    opterr = 0;  // the messages are the program's own
    optind = 0;  // from the start, whatever was read before
    const int count = static_cast<int>(arguments.size());
    for (int value = 0;
         (value = getopt_long(count, argv.data(), ":", form.options.data(), nullptr)) != -1;) {
        const std::string given = argv[static_cast<std::size_t>(optind - 1)];
        const std::string text = optarg != nullptr ? optarg : "";
        if (value == '?') {
            throw UsageError("the " + std::string(form.name) + " command has no option " + given);
        }
        if (value == ':') {
            throw UsageError(given + " needs a value");
        }
        const std::optional<unsigned> number = Number(text, value == kBank);
        if (value == kHelp) {
            parsed.help = true;
        } else if (value == kBytes) {
            parsed.request.bytes = true;
        } else if (value == kType) {
            if (number != 1U && number != 2U) {
                throw UsageError("--type is 1 or 2, not " + text);
            }
            parsed.request.type = static_cast<int>(*number);
            typed = true;
        } else if (value == kBank) {
            if (!number) {
                throw UsageError("--bank is a number, in decimal or in hex after 0x or $: " + text);
            }
            if (*number >= kBanks) {
                throw UsageError("bank " + text + " is past the end of a 4 MiB file");
            }
            parsed.request.bank = *number;
            banked = true;
        } else {
            const auto& pages = conversions::kCodePages;
            if (!number || std::find(pages.begin(), pages.end(), *number) == pages.end()) {
                throw UsageError("--code-page is 874, 932, 936, 949, 950 or 1250 to 1258, not " +
                                 text);
            }
            parsed.codePage = number;
        }
    }
    if (form.command == Command::Offset && !parsed.help && (!typed || !banked)) {
        throw UsageError(std::string("the offset command needs ") + (typed ? "--bank" : "--type"));
    }
    // getopt_long has put the operands last, in their order.
    parsed.operands.assign(argv.begin() + optind, argv.end() - 1);
    return parsed;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, const Console& console) {
    const std::string first = arguments.size() > 1 ? arguments[1] : "";
    try {
        if (first == "--help" || first == "-h") {
            console.write(Help());
            return 0;
        }
        if (first == "--version") {
            console.write(QUORVANE_VERSION "\n");
            return 0;
        }
        for (const CommandForm& form : kCommands) {
            if (first != form.name) {
                continue;
            }
            const Parsed parsed =
                Parse(form, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
            if (parsed.help) {
                console.write("Usage: quorvane-cli " + std::string(form.usage) + "\n\n" +
                              form.help);
                return 0;
            }
            if (parsed.codePage) {
                conversions::ChooseCodePage(*parsed.codePage);
            }
            return AnswerAll(parsed.request, parsed.operands, console) ? 0 : 1;
        }
        throw UsageError(first.empty() ? "a command is needed: pointer, offset or word"
                                       : "there is no command " + first +
                                             "; the commands are pointer, offset and word");
    } catch (const UsageError& error) {
        console.complain("quorvane-cli: " + std::string(error.what()) +
                         "\nRun 'quorvane-cli --help' for more information.\n");
        return 2;
    }
}
