// pointer, offset, word and text: their options made into a request, and a
// table read for it.
#include <memory>

#include "commands.h"
#include "files.h"

namespace {

// A file of 4 MiB, the largest a NES game's program takes, holds 256 banks
// of 16 KiB.
constexpr std::uint64_t kLargestProgram = std::uint64_t{4} << 20U;

}  // namespace

int RunAnswers(Command command, const Options& options, const Console& console) {
    Request request;
    request.command = command;
    request.bytes = options.bytes;
    request.trainer = options.trainer;
    request.asWindow = options.asWindow;
    const std::optional<rom::BankWindow> window = BankWindowOf(options);
    if (command == Command::Offset && (!window || !options.bank)) {
        throw UsageError(std::string("the offset command needs ") +
                         (window ? "--bank" : "--type, or --bank-size with --base"));
    }
    request.window = window.value_or(rom::kType1);
    if (options.asWindow && (options.trainer || request.window.size != rom::kType1.size)) {
        throw UsageError(
            "--as-window reads as the window does, which knows no trainer and no 8 KiB "
            "banks");
    }
    if (options.bank) {
        const std::uint64_t banks = kLargestProgram / request.window.size;
        if (*options.bank >= banks) {
            throw UsageError("bank " + std::to_string(*options.bank) +
                             " is past the end of a 4 MiB file, which holds " +
                             std::to_string(banks) + " banks of " +
                             std::to_string(request.window.size / 1024) + " KiB");
        }
        request.bank = *options.bank;
    }
    if (options.table && options.codePage) {
        throw UsageError("--table and --code-page are two ways to read a word: give one");
    }
    std::unique_ptr<rom::Table> table;
    if (options.table) {
        try {
            table = std::make_unique<rom::Table>(rom::Table::Read(ReadText(*options.table)));
        } catch (const FileError& error) {
            console.complain("quorvane-cli: " + std::string(error.what()) + '\n');
            return kRefused;
        } catch (const rom::TableError& error) {
            console.complain("quorvane-cli: " + *options.table + ": " + error.what() + '\n');
            return kRefused;
        }
        request.table = table.get();
    }
    return AnswerAll(request, options.operands, console) ? kDone : kRefused;
}
