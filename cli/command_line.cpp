// quorvane-cli's commands and options, read by the C library's getopt_long
// (glibc's on Linux, MinGW-w64's on Windows) from one table a command, and
// its help, which leads with examples.
#include <getopt.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands.h"
#include "conversions/conversions.h"
#include "help.h"
#include "option_table.h"
#include "rom/numbers.h"

namespace {

struct CommandForm {
    const char* name;
    Command command;
    int (*run)(Command, const Options&, const Console&);
    std::vector<int> values;  // the options it takes
};

// A command that needs no more than its options.
template <int (*Run)(const Options&, const Console&)>
int OptionsAlone(Command, const Options& options, const Console& console) {
    return Run(options, console);
}

const std::vector<CommandForm> kCommands = {
    {"pointer",
     Command::Pointer,
     RunAnswers,
     {kType, kBankSize, kBase, kTrainer, kBytes, kAsWindow}},
    {"offset",
     Command::Offset,
     RunAnswers,
     {kType, kBankSize, kBase, kBank, kTrainer, kBytes, kAsWindow}},
    {"word", Command::Word, RunAnswers, {kCodePage, kTable}},
    {"text", Command::Text, RunAnswers, {kCodePage, kTable}},
    {"info", Command::Pointer, OptionsAlone<RunInfo>, {kJson}},
    {"find",
     Command::Pointer,
     OptionsAlone<RunFind>,
     {kPointerTo, kType, kBankSize, kBase, kText, kTable, kRelative, kTableOut, kForce, kFree,
      kByte, kMin, kTables}},
    {"dump",
     Command::Pointer,
     OptionsAlone<RunDump>,
     {kTable, kPointers, kHigh, kCount, kType, kBankSize, kBase, kBank, kOutput, kForce, kWidth,
      kLines}},
    {"insert",
     Command::Pointer,
     OptionsAlone<RunInsert>,
     {kOutput, kSpace, kPatch, kFill, kForce, kWidth, kLines}},
    {"patch", Command::Pointer, OptionsAlone<RunPatch>, {kOutput, kAcrossHeader, kJson}},
    {"header", Command::Pointer, OptionsAlone<RunHeader>, {kOutput, kClean, kRemove, kFrom}},
};

// The option a command was given as the user typed it: "--bnak", or a
// whole "-8123" (no option but -o is a single letter).
std::string Typed(const std::vector<char*>& argv, int count) {
    if (optopt == 0) {
        const std::string given = argv[static_cast<std::size_t>(optind - 1)];
        return given.substr(0, given.find('='));
    }
    const std::size_t here = static_cast<std::size_t>(optind);
    if (optind < count && argv[here][0] == '-' && argv[here][1] == optopt) {
        return argv[here];
    }
    return argv[here - 1];
}

std::string Quoted(const std::string& text) { return text.empty() ? "an empty value" : text; }

void Set(Options& options, int value, const std::string& text) {
    const auto hex = [&](const char* name) {
        try {
            return rom::ReadHex(text);
        } catch (const rom::NumberError& error) {
            throw UsageError(std::string(name) + " is hex: " + Quoted(text) + ": " + error.what());
        }
    };
    const auto count = [&](const char* name) {
        try {
            return rom::ReadCount(text);
        } catch (const rom::NumberError&) {
            throw UsageError(std::string(name) +
                             " is a number, in decimal or in hex after 0x or $: " + Quoted(text));
        }
    };
    switch (value) {
        case kType:
            if (text != "1" && text != "2") {
                throw UsageError("--type is 1 or 2, not " + Quoted(text));
            }
            options.type = text[0] - '0';
            break;
        case kBank:
            options.bank = count("--bank");
            break;
        case kBankSize:
            options.bankSize = count("--bank-size");
            break;
        case kBase:
            options.base = hex("--base");
            break;
        case kCodePage: {
            const auto& pages = conversions::kCodePages;
            std::uint64_t page = 0;
            try {
                page = rom::ReadCount(text);
            } catch (const rom::NumberError&) {
            }
            if (std::find(pages.begin(), pages.end(), page) == pages.end()) {
                throw UsageError("--code-page is 874, 932, 936, 949, 950 or 1250 to 1258, not " +
                                 Quoted(text));
            }
            options.codePage = static_cast<unsigned>(page);
            break;
        }
        case kBytes:
            options.bytes = true;
            break;
        case kTrainer:
            options.trainer = true;
            break;
        case kAsWindow:
            options.asWindow = true;
            break;
        case kJson:
            options.json = true;
            break;
        case kTable:
            options.table = text;
            break;
        case kPointerTo:
            options.pointerTo = text;
            break;
        case kText:
            options.text = text;
            break;
        case kRelative:
            options.relative = text;
            break;
        case kTableOut:
            options.tableOut = text;
            break;
        case kPointers:
            options.pointers = hex("--pointers");
            break;
        case kHigh:
            options.high = hex("--high");
            break;
        case kCount:
            options.count = count("--count");
            break;
        case kOutput:
            options.output = text;
            break;
        case kSpace:
            options.spaces.push_back(text);
            break;
        case kPatch:
            options.patch = text;
            break;
        case kFill:
        case kByte: {
            const char* const name = value == kFill ? "--fill" : "--byte";
            const std::uint64_t byte = hex(name);
            if (byte > 0xFF) {
                throw UsageError(std::string(name) + " is one byte, 00 to FF, not " + text);
            }
            (value == kFill ? options.fill : options.freeByte) = static_cast<std::uint8_t>(byte);
            break;
        }
        case kFree:
            options.free = true;
            break;
        case kMin:
            options.least = count("--min");
            break;
        case kClean:
            options.cleanHeader = true;
            break;
        case kRemove:
            options.removeHeader = true;
            break;
        case kFrom:
            options.headerFrom = text;
            break;
        case kWidth:
            options.width = count("--width");
            break;
        case kTables:
            options.tables = true;
            break;
        case kLines:
            options.lines = count("--lines");
            break;
        case kAcrossHeader:
            options.acrossHeader = true;
            break;
        default:
            options.force = true;
    }
}

// The options and operands of a command's arguments, the command's name
// first; nothing where help is asked for. Throws UsageError.
std::optional<Options> Parse(const CommandForm& form, std::vector<std::string> arguments) {
    std::vector<option> table;
    for (const option& each : kAll) {
        if (each.val == kHelp || std::count(form.values.begin(), form.values.end(), each.val) > 0) {
            table.push_back(each);
        }
    }
    table.push_back({});
    // Long options by their whole names alone: getopt_long would take
    // "--bank" for "--bank-size", which is another option.
    for (std::size_t i = 1; i < arguments.size() && arguments[i] != "--"; ++i) {
        const std::string& given = arguments[i];
        if (given.rfind("--", 0) != 0) {
            continue;
        }
        const std::string name = given.substr(2, given.find('=') - 2);
        const auto known = std::find_if(table.begin(), table.end() - 1,
                                        [&](const option& each) { return name == each.name; });
        if (known == table.end() - 1) {
            throw UsageError("the " + std::string(form.name) + " command has no option --" + name);
        }
        i += known->has_arg == required_argument && given.find('=') == std::string::npos ? 1 : 0;
    }
    std::vector<char*> argv(arguments.size() + 1);  // getopt_long's, ended by nullptr
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        argv[i] = arguments[i].data();
    }
    Options options;
    opterr = 0;  // the messages are the program's own
    optind = 0;  // from the start, whatever was read before
    const int count = static_cast<int>(arguments.size());
    const bool output = std::count(form.values.begin(), form.values.end(), kOutput) > 0;
    const char* const shortOptions = output ? ":o:" : ":";  // -o, as compilers name an output
    for (int value = 0;
         (value = getopt_long(count, argv.data(), shortOptions, table.data(), nullptr)) != -1;) {
        if (value == '?') {
            throw UsageError("the " + std::string(form.name) + " command has no option " +
                             Typed(argv, count) +
                             "; an input that begins with - goes after --, which ends the options");
        }
        if (value == ':') {
            throw UsageError(std::string(argv[static_cast<std::size_t>(optind - 1)]) +
                             " needs a value");
        }
        if (value == kHelp) {
            return std::nullopt;
        }
        Set(options, value, optarg != nullptr ? optarg : "");
    }
    // getopt_long has put the operands last, in their order.
    options.operands.assign(argv.begin() + optind, argv.end() - 1);
    return options;
}

}  // namespace

namespace {

// What a command was doing, for a message about a fault of its own: its
// name and its operands' first words.
std::string Doing(const std::vector<std::string>& arguments) {
    std::string doing;
    for (std::size_t i = 1; i < arguments.size() && doing.size() < 80; ++i) {
        doing += (i > 1 ? " " : "") + arguments[i];
    }
    return doing.empty() ? "quorvane-cli" : doing;
}

int RunCommand(const std::vector<std::string>& arguments, const Console& console) {
    const std::string first = arguments.size() > 1 ? arguments[1] : "";
    try {
        if (first == "--help" || first == "-h") {
            console.write(Help());
            return kDone;
        }
        if (first == "--version") {
            console.write(QUORVANE_VERSION "\n");
            return kDone;
        }
        for (const CommandForm& form : kCommands) {
            if (first != form.name) {
                continue;
            }
            const std::optional<Options> options =
                Parse(form, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
            if (!options) {
                console.write(CommandHelp(form.name));
                return kDone;
            }
            if (options->codePage) {
                conversions::ChooseCodePage(*options->codePage);
            }
            return form.run(form.command, *options, console);
        }
        throw UsageError(first.empty() ? "a command is needed: " + std::string(kCommandNames)
                                       : "there is no command " + first + "; the commands are " +
                                             kCommandNames);
    } catch (const UsageError& error) {
        console.complain("quorvane-cli: " + std::string(error.what()) +
                         "\nRun 'quorvane-cli --help' for more information.\n");
        return kUsage;
    } catch (const IoError& error) {
        console.complain("quorvane-cli: " + std::string(error.what()) + '\n');
        return kIoFailed;
    } catch (const std::bad_alloc&) {
        // No exception ends the program: each is a message and a status.
        console.complain("quorvane-cli: " + Doing(arguments) + ": out of memory\n");
        return kRefused;
    } catch (const std::exception& error) {
        console.complain("quorvane-cli: " + Doing(arguments) + ": " + error.what() + '\n');
        return kRefused;
    }
}

}  // namespace

int Run(const std::vector<std::string>& arguments, const Console& console) {
    try {
        return RunCommand(arguments, console);
    } catch (...) {
        return kIoFailed;  // standard error itself failed
    }
}
