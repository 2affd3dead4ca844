// quorvane-cli's commands and options, and its help, which leads with
// examples.
#include <CLI/CLI.hpp>

#include <charconv>
#include <optional>
#include <sstream>

#include "console.h"
#include "conversions/conversions.h"

namespace {

constexpr char kDescription[] =
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

// Banks count from the first byte after the header; a 4 MiB file, the
// largest a NES game's program takes, holds 256.
constexpr unsigned kBanks = 256;

// A bank number in decimal, or in hex after "0x" or "$"; kBanks for one too
// large to hold.
std::optional<unsigned> BankNumber(std::string_view text) {
    int base = 10;
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0 || text.rfind('$', 0) == 0) {
        text.remove_prefix(text[0] == '$' ? 1 : 2);
        base = 16;
    }
    unsigned value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || stop != end) {
        return std::nullopt;
    }
    return error == std::errc() ? value : kBanks;
}

std::string CheckBank(const std::string& text) {
    const std::optional<unsigned> bank = BankNumber(text);
    if (!bank) {
        return "a bank is a number, in decimal or in hex after 0x or $: " + text;
    }
    return *bank < kBanks ? std::string() : "bank " + text + " is past the end of a 4 MiB file";
}

}  // namespace

int Run(const std::vector<std::string>& arguments, const Console& console) {
    CLI::App app(kDescription, "quorvane-cli");
    app.set_version_flag("--version", QUORVANE_VERSION);
    app.require_subcommand(0, 1);  // none is a usage error of its own, below

    Request request;
    std::vector<std::string> operands;
    std::string bank;
    unsigned codePage = 0;
    const auto type = [&request](CLI::App* command) {
        return command
            ->add_option("--type", request.type, "the bank's type: 1 ($8000) or 2 ($C000)")
            ->check(CLI::IsMember({1, 2}));
    };

    CLI::App* pointer = app.add_subcommand("pointer", "the pointer to each file offset");
    type(pointer)->capture_default_str();
    pointer->add_flag("--bytes", request.bytes, "the pointer's two bytes, low byte first: 13 81");
    pointer->add_option("OFFSET", operands, "file offsets in hex, as the window reads them");

    CLI::App* offset = app.add_subcommand("offset", "the file offset each pointer points at");
    type(offset)->required();
    offset->add_option("--bank", bank, "the bank the address is in: 0 to 255, or 0x0 to 0xFF")
        ->required()
        ->check(CLI::Validator(CheckBank, "N", "bank"));
    offset->add_flag("--bytes", request.bytes, "pointers as their two bytes, low byte first");
    offset->add_option("POINTER", operands, "the addresses in hex ($8113), or with --bytes 13 81");

    CLI::App* word = app.add_subcommand("word", "the codes of each word, each less 48, in hex");
    CLI::Option* chosen =
        word->add_option("--code-page", codePage, "the code page, whatever the system's")
            ->check(CLI::IsMember(std::vector<unsigned>(conversions::kCodePages.begin(),
                                                        conversions::kCodePages.end())));
    word->add_option("WORD", operands, "words, in any language");

    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
        if (app.get_subcommands().empty()) {
            throw CLI::RequiredError("A command, pointer, offset or word,");
        }
    } catch (const CLI::ParseError& error) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = app.exit(error, out, err);
        console.write(out.str());
        console.complain(err.str());
        return status == 0 ? 0 : 2;
    }
    request.command = pointer->parsed()  ? Command::Pointer
                      : offset->parsed() ? Command::Offset
                                         : Command::Word;
    request.bank = BankNumber(bank).value_or(0);
    if (chosen->count() > 0) {
        conversions::ChooseCodePage(codePage);
    }
    return AnswerAll(request, operands, console) ? 0 : 1;
}
