// The window the options name: --type, or --bank-size with --base.
#include "commands.h"
#include "rom/numbers.h"

std::optional<rom::BankWindow> BankWindowOf(const Options& options) {
    if (options.type && (options.bankSize || options.base)) {
        throw UsageError("--type and --bank-size with --base say the same: give one");
    }
    if (options.type) {
        return rom::TypeWindow(static_cast<std::uint64_t>(*options.type));
    }
    if (!options.bankSize && !options.base) {
        return std::nullopt;
    }
    if (!options.bankSize || !options.base) {
        throw UsageError(options.base ? "--base needs --bank-size" : "--bank-size needs --base");
    }
    if (*options.bankSize == 16 && (*options.base == 0x8000 || *options.base == 0xC000)) {
        return *options.base == 0x8000 ? rom::kType1 : rom::kType2;
    }
    if (*options.bankSize == 8) {
        if (const auto window = rom::EightKiBWindow(static_cast<std::uint32_t>(*options.base))) {
            return window;
        }
        throw UsageError("8 KiB banks are seen at $8000, $A000, $C000 or $E000, not " +
                         rom::Dollar(*options.base));
    }
    if (*options.bankSize == 16) {
        throw UsageError("16 KiB banks are seen at $8000 or $C000, not " +
                         rom::Dollar(*options.base));
    }
    throw UsageError("--bank-size is 16 or 8, not " + std::to_string(*options.bankSize));
}
