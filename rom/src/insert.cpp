// Inserting scripts: each bank's strings stored once, a string that is the
// tail of another pointing into it, laid out first-fit in entry order in the
// spaces the pointers reach, and every pointer rewritten.
#include <algorithm>
#include <map>

#include "rom/dump.h"
#include "rom/numbers.h"

namespace rom {
namespace {

struct Pool {
    std::uint64_t start;  // the bank's first byte in the file
    std::uint64_t end;    // past its last
    std::string name;
    std::vector<Span> free;  // its spaces, in order
    std::uint64_t holds = 0;
    // Its strings in entry order: which translation and pointer.
    std::vector<std::pair<std::size_t, std::size_t>> strings;
};

std::string Plural(std::uint64_t n, const char* one) {
    return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

std::vector<Span> Merged(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.first < b.first; });
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (!merged.empty() && span.first <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, span.last);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

std::string Named(const Span& span) {
    return "the space " + Dollar(span.first) + "-" + Dollar(span.last);
}

}  // namespace

Inserted Insert(const Rom& rom, const std::vector<Translation>& translations,
                const std::vector<Span>& spaces, std::optional<std::uint8_t> fill) {
    // The banks the pointers reach, each a pool.
    std::map<std::uint64_t, Pool> pools;
    std::vector<Span> tables;  // the pointer tables' bytes, which no space may cover
    std::vector<Span> all = spaces;
    for (std::size_t t = 0; t < translations.size(); ++t) {
        const Script& script = *translations[t].script;
        const PointerTable& p = script.pointers;
        const std::uint64_t start = rom.prgStart() + p.bank * p.window.size;
        Pool& pool = pools[start];
        pool.start = start;
        pool.end = start + p.window.size;
        pool.name = "bank " + std::to_string(p.bank) + ", " + NameOf(p.window);
        for (const ScriptEntry& entry : script.entries) {
            if (entry.kind == ScriptEntry::Kind::Text) {
                pool.strings.emplace_back(t, static_cast<std::size_t>(entry.index));
            }
        }
        const std::uint64_t size = p.high ? p.count : 2 * p.count;
        if (size > 0) {
            tables.push_back({p.offset, p.offset + size - 1});
            if (p.high) {
                tables.push_back({*p.high, *p.high + size - 1});
            }
        }
        if (std::max(p.offset, p.high.value_or(0)) + size > rom.file.size()) {
            throw InsertError(true, "the pointer table at " + Dollar(p.offset) +
                                        " runs past the end of the file");
        }
        all.insert(all.end(), script.spaces.begin(), script.spaces.end());
    }
    for (const Span& span : Merged(all)) {
        if (span.first < rom.prgStart()) {
            throw InsertError(true, Named(span) + " lies over the header" +
                                        (rom.header.trainer ? " and trainer" : ""));
        }
        for (const Span& table : tables) {
            if (span.first <= table.last && table.first <= span.last) {
                throw InsertError(
                    true, Named(span) + " lies over the pointer table at " + Dollar(table.first));
            }
        }
        auto pool = pools.upper_bound(span.first);
        if (pool == pools.begin() || span.first >= std::prev(pool)->second.end) {
            throw InsertError(true, Named(span) + " is in no bank the scripts' pointers reach");
        }
        --pool;
        if (span.last >= pool->second.end || span.last >= rom.file.size()) {
            throw InsertError(true, Named(span) + " crosses the end of " + pool->second.name);
        }
        pool->second.free.push_back(span);
        pool->second.holds += span.last - span.first + 1;
    }

    Inserted inserted;
    inserted.rom = rom.file;
    std::vector<std::vector<std::optional<std::uint64_t>>> placed(translations.size());
    for (std::size_t t = 0; t < translations.size(); ++t) {
        placed[t].resize(translations[t].strings.size());
    }
    bool short_ = false;
    std::string report;
    for (auto& banked : pools) {
        Pool& pool = banked.second;
        const auto bytesOf = [&](const std::pair<std::size_t, std::size_t>& s) -> const Bytes& {
            return *translations[s.first].strings[s.second];
        };
        // Each string's host: itself, or a string it is the tail of. Sorted by
        // their bytes read backwards, the strings a string is the tail of
        // follow it at once.
        std::vector<std::size_t> order(pool.strings.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const Bytes& x = bytesOf(pool.strings[a]);
            const Bytes& y = bytesOf(pool.strings[b]);
            return std::lexicographical_compare(x.rbegin(), x.rend(), y.rbegin(), y.rend());
        });
        // inside[i]: the string i lies in, and where in it; nothing for a host.
        std::vector<std::optional<std::pair<std::size_t, std::size_t>>> inside(pool.strings.size());
        for (std::size_t k = order.size(); k-- > 1;) {
            const Bytes& tail = bytesOf(pool.strings[order[k - 1]]);
            const Bytes& next = bytesOf(pool.strings[order[k]]);
            if (tail.size() <= next.size() &&
                std::equal(tail.rbegin(), tail.rend(), next.rbegin())) {
                const std::size_t host = inside[order[k]] ? inside[order[k]]->first : order[k];
                inside[order[k - 1]] = {host, bytesOf(pool.strings[host]).size() - tail.size()};
            }
        }
        BankUse use{pool.name, 0, pool.holds, pool.strings.size(), 0};
        std::vector<std::uint64_t> where(pool.strings.size());
        for (std::size_t i = 0; i < pool.strings.size(); ++i) {  // first fit, in entry order
            if (inside[i]) {
                ++use.shared;
                continue;
            }
            const std::uint64_t size = bytesOf(pool.strings[i]).size();
            use.needed += size;
            const auto fits =
                std::find_if(pool.free.begin(), pool.free.end(),
                             [&](const Span& span) { return span.last - span.first + 1 >= size; });
            if (fits == pool.free.end()) {
                short_ = true;
                continue;
            }
            where[i] = fits->first;
            const Bytes& bytes = bytesOf(pool.strings[i]);
            std::copy(bytes.begin(), bytes.end(),
                      inserted.rom.begin() + static_cast<std::ptrdiff_t>(fits->first));
            fits->first += size;
            if (fits->first > fits->last) {
                pool.free.erase(fits);
            }
        }
        for (std::size_t i = 0; i < pool.strings.size(); ++i) {
            const auto& [t, n] = pool.strings[i];
            placed[t][n] = inside[i] ? where[inside[i]->first] + inside[i]->second : where[i];
        }
        if (fill) {
            for (const Span& span : pool.free) {
                std::fill(inserted.rom.begin() + static_cast<std::ptrdiff_t>(span.first),
                          inserted.rom.begin() + static_cast<std::ptrdiff_t>(span.last + 1), *fill);
            }
        }
        report += "\n  " + pool.name + ": " + Plural(use.needed, "byte") + " needed, " +
                  Plural(use.holds, "byte") + " in the spaces" +
                  (use.needed > use.holds ? ", " + std::to_string(use.needed - use.holds) + " short"
                                          : "");
        inserted.banks.push_back(use);
    }
    if (short_) {
        throw InsertError(
            false, "the text does not fit, and nothing is written:" + report +
                       (report.find("short") == std::string::npos
                            ? "\n  (the spaces hold enough, but not in pieces the strings fit)"
                            : ""));
    }
    // Every pointer rewritten: to its string, to the one it follows, or kept.
    for (std::size_t t = 0; t < translations.size(); ++t) {
        const Script& script = *translations[t].script;
        const PointerTable& p = script.pointers;
        const std::uint64_t start = rom.prgStart() + p.bank * p.window.size;
        for (const ScriptEntry& entry : script.entries) {
            std::uint64_t n = entry.index;
            while (script.entries[static_cast<std::size_t>(n)].kind == ScriptEntry::Kind::Same) {
                n = script.entries[static_cast<std::size_t>(n)].same;
            }
            const std::uint64_t low = p.high ? p.offset + entry.index : p.offset + 2 * entry.index;
            const std::uint64_t high = p.high ? *p.high + entry.index : low + 1;
            std::uint64_t address = 0;
            if (script.entries[static_cast<std::size_t>(n)].kind == ScriptEntry::Kind::Keep) {
                // Where the kept pointer points, as the ROM has it.
                const std::uint64_t keptLow = p.high ? p.offset + n : p.offset + 2 * n;
                const std::uint64_t keptHigh = p.high ? *p.high + n : keptLow + 1;
                address = rom.file[static_cast<std::size_t>(keptLow)] |
                          std::uint64_t{rom.file[static_cast<std::size_t>(keptHigh)]} << 8U;
            } else {
                address = p.window.base + (*placed[t][static_cast<std::size_t>(n)] - start);
            }
            inserted.rom[static_cast<std::size_t>(low)] =
                static_cast<std::uint8_t>(address & 0xFFU);
            inserted.rom[static_cast<std::size_t>(high)] = static_cast<std::uint8_t>(address >> 8U);
        }
    }
    return inserted;
}

}  // namespace rom
