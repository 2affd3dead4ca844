// Finding pointer tables: runs of pointers into one window whose strings a
// table decodes, stored as pairs or as split arrays of low and high bytes.
#include <algorithm>

#include "rom/dump.h"
#include "rom/search.h"

namespace rom {
namespace {

// Whether a clean string begins at each byte of PRG-ROM: one entry or
// control code or more, and no raw byte, up to an end token, all within the
// byte's bank. An empty string is no evidence of a table: filler of end
// tokens would be one. Worked out
// from each bank's end back, the decoder's first step at each place read
// by the table itself.
std::vector<bool> CleanStrings(const Rom& rom, const Table& table, std::uint32_t bankSize) {
    const std::uint8_t* const program = rom.file.data() + rom.prgStart();
    const auto size = static_cast<std::size_t>(rom.header.prgSize);
    std::vector<bool> clean(size, false);
    std::vector<bool> ends(size, false);  // an end token begins here
    for (std::size_t bankEnd = size; bankEnd > 0;) {
        const std::size_t bankStart = (bankEnd - 1) / bankSize * bankSize;
        for (std::size_t at = bankEnd; at-- > bankStart;) {
            const Table::Step step = table.first(program + at, bankEnd - at);
            ends[at] = step.kind == Table::Step::Kind::End;
            clean[at] = step.kind == Table::Step::Kind::Entry && at + step.size < bankEnd &&
                        (ends[at + step.size] || clean[at + step.size]);
        }
        bankEnd = bankStart;
    }
    return clean;
}

struct Finder {
    const Rom& rom;
    const std::vector<bool>& clean;
    BankWindow window;
    std::uint64_t least;

    [[nodiscard]] std::uint64_t banks() const { return rom.prgBanks(window.size); }

    // Whether the pointer's address, in bank `bank`, reaches a clean string.
    [[nodiscard]] bool reaches(std::uint64_t bank, std::uint32_t address) const {
        if (address < window.base || address >= window.base + window.size) {
            return false;
        }
        const std::uint64_t at = bank * window.size + (address - window.base);
        return at < clean.size() && clean[at];
    }

    // The banks a table's pointers may be into: the fixed bank for type 2;
    // the table's own bank, or any where the table is in none that switches.
    [[nodiscard]] std::vector<std::uint64_t> banksFor(std::uint64_t tableAt) const {
        if (window == kType2) {
            return {banks() - 1};
        }
        const std::uint64_t own = tableAt / window.size;
        const bool fixed = tableAt / kType1.size + 1 == rom.prgBanks(kType1.size);
        std::vector<std::uint64_t> all;
        for (std::uint64_t bank = 0; bank < banks(); ++bank) {
            if (bank == own || fixed || window.size != kType1.size) {
                all.push_back(bank);
            }
        }
        return all;
    }

    struct Score {
        std::uint64_t bank;
        std::uint64_t count;  // the pointers, up to the last that reaches a clean string
        std::uint64_t clean;  // of them, those that do
    };

    // The bank where most of `count` pointers reach clean strings, where
    // `least` do and no more than one in eight does not.
    template <class Pointer>
    [[nodiscard]] std::optional<Score> best(const std::vector<std::uint64_t>& banks,
                                            std::uint64_t count, Pointer pointer) const {
        std::optional<Score> best;
        for (const std::uint64_t bank : banks) {
            Score score{bank, 0, 0};
            std::vector<std::uint32_t> targets;
            for (std::uint64_t n = 0, astray = 0; n < count; ++n) {
                if (reaches(bank, pointer(n))) {
                    ++score.clean;
                    score.count = n + 1;
                    targets.push_back(pointer(n));
                } else if (++astray * 8 > std::max(n + 1, least)) {
                    break;  // more than one in eight astray
                }
            }
            // Pointers are to strings of their own, most of them: not a run
            // of one value.
            std::sort(targets.begin(), targets.end());
            const auto distinct = static_cast<std::uint64_t>(
                std::unique(targets.begin(), targets.end()) - targets.begin());
            if (score.clean >= least && score.clean * 8 >= score.count * 7 &&
                distinct * 2 >= score.clean && (!best || score.clean > best->clean)) {
                best = score;
            }
        }
        return best;
    }

    [[nodiscard]] std::uint8_t byte(std::uint64_t at) const {
        return rom.file[rom.prgStart() + at];
    }
    [[nodiscard]] bool high(std::uint8_t value) const {
        return value >= window.base >> 8U && value < (window.base + window.size) >> 8U;
    }
};

}  // namespace

std::vector<FoundTable> FindTables(const Rom& rom, const Table& table,
                                   const std::vector<BankWindow>& windows, std::uint64_t least) {
    std::vector<FoundTable> found;
    const auto size = static_cast<std::uint64_t>(rom.header.prgSize);
    least = std::max<std::uint64_t>(least, 2);
    std::vector<std::pair<std::uint32_t, std::vector<bool>>> cleanBySize;
    for (const BankWindow& window : windows) {
        if (std::none_of(cleanBySize.begin(), cleanBySize.end(),
                         [&](const auto& known) { return known.first == window.size; })) {
            cleanBySize.emplace_back(window.size, CleanStrings(rom, table, window.size));
        }
        const std::vector<bool>& clean =
            std::find_if(cleanBySize.begin(), cleanBySize.end(), [&](const auto& known) {
                return known.first == window.size;
            })->second;
        const Finder finder{rom, clean, window, least};
        // Pointers stored as pairs: a run of them into the window.
        for (std::uint64_t parity = 0; parity < 2; ++parity) {
            for (std::uint64_t at = parity; at + 1 < size;) {
                std::uint64_t end = at;
                while (end + 1 < size && finder.high(finder.byte(end + 1))) {
                    end += 2;
                }
                const std::uint64_t count = (end - at) / 2;
                if (count >= least) {
                    const auto pointer = [&](std::uint64_t n) {
                        return finder.byte(at + 2 * n) | std::uint32_t{finder.byte(at + 2 * n + 1)}
                                                             << 8U;
                    };
                    if (const auto best = finder.best(finder.banksFor(at), count, pointer)) {
                        found.push_back(
                            {{rom.prgStart() + at, std::nullopt, best->count, window, best->bank},
                             best->clean});
                    }
                }
                at = end + 2;
            }
        }
        // Split arrays: a run of high bytes, and low bytes anywhere in its bank.
        for (std::uint64_t at = 0; at < size;) {
            std::uint64_t end = at;
            while (end < size && finder.high(finder.byte(end))) {
                ++end;
            }
            if (end - at < least) {
                at = end + 1;
                continue;
            }
            // The low bytes: anywhere in the bank the high bytes are in.
            const std::uint64_t bankStart = at / kType1.size * kType1.size;
            const std::uint64_t bankEnd = std::min(size, bankStart + kType1.size);
            std::optional<Finder::Score> best;
            std::uint64_t bestLow = 0;
            const std::vector<std::uint64_t> banks = finder.banksFor(at);
            for (std::uint64_t low = bankStart; low + least <= bankEnd; ++low) {
                if (low + least > at && low < end) {
                    continue;  // the high bytes themselves
                }
                const std::uint64_t count = std::min(end - at, bankEnd - low);
                const auto pointer = [&](std::uint64_t n) {
                    return finder.byte(low + n) | std::uint32_t{finder.byte(at + n)} << 8U;
                };
                const auto score = finder.best(banks, count, pointer);
                if (score && (!best || score->clean > best->clean)) {
                    best = score;
                    bestLow = low;
                }
            }
            if (best) {
                found.push_back({{rom.prgStart() + bestLow, rom.prgStart() + at, best->count,
                                  window, best->bank},
                                 best->clean});
            }
            at = end + 1;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const FoundTable& a, const FoundTable& b) {
        return a.clean * b.table.count != b.clean * a.table.count
                   ? a.clean * b.table.count > b.clean * a.table.count
                   : a.table.count > b.table.count;
    });
    return found;
}

}  // namespace rom
