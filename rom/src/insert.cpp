// Inserting scripts: each bank's strings, as one window sees it, stored
// once, a string that is the tail of another pointing into it, laid out
// first-fit in entry order in the spaces the window reaches, and every
// pointer rewritten.
#include "rom/insert.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "rom/dump.h"
#include "rom/numbers.h"

namespace rom {
namespace {

// The strings of one bank as one window sees them.
struct Pool {
    std::uint64_t bank;
    BankWindow window;
    std::uint64_t start;  // the bank's first byte in the file
    std::uint64_t end;    // past its last
    // Its strings in entry order: which translation and pointer.
    std::vector<std::pair<std::size_t, std::size_t>> strings;
};

std::string Named(const Span& span) {
    return "the space " + Dollar(span.first) + "-" + Dollar(span.last);
}

// Bytes free to lay strings in, in order, none side by side.
class Free {
public:
    void add(Span span) { spans_.push_back(span); }
    void merge() {
        std::sort(spans_.begin(), spans_.end(),
                  [](const Span& a, const Span& b) { return a.first < b.first; });
        std::vector<Span> merged;
        for (const Span& span : spans_) {
            if (!merged.empty() && span.first <= merged.back().last + 1) {
                merged.back().last = std::max(merged.back().last, span.last);
            } else {
                merged.push_back(span);
            }
        }
        spans_ = std::move(merged);
    }
    void take(Span taken) {
        std::vector<Span> left;
        for (const Span& span : spans_) {
            if (span.last < taken.first || taken.last < span.first) {
                left.push_back(span);
                continue;
            }
            if (span.first < taken.first) {
                left.push_back({span.first, taken.first - 1});
            }
            if (taken.last < span.last) {
                left.push_back({taken.last + 1, span.last});
            }
        }
        spans_ = std::move(left);
    }
    // The free bytes from `start` to before `end`.
    [[nodiscard]] std::uint64_t within(std::uint64_t start, std::uint64_t end) const {
        std::uint64_t bytes = 0;
        for (const Span& span : spans_) {
            const std::uint64_t first = std::max(span.first, start);
            const std::uint64_t last = std::min(span.last + 1, end);
            bytes += first < last ? last - first : 0;
        }
        return bytes;
    }
    // The first place from `start` to before `end` that holds `size` bytes.
    [[nodiscard]] std::optional<std::uint64_t> fit(std::uint64_t size, std::uint64_t start,
                                                   std::uint64_t end) const {
        for (const Span& span : spans_) {
            const std::uint64_t first = std::max(span.first, start);
            const std::uint64_t last = std::min(span.last + 1, end);
            if (first < last && last - first >= size) {
                return first;
            }
        }
        return std::nullopt;
    }
    [[nodiscard]] const std::vector<Span>& spans() const { return spans_; }

private:
    std::vector<Span> spans_;
};

// Each string's host: itself, or a string it is the tail of, and where in
// it. Sorted by their bytes read backwards, the strings a string is the tail
// of follow it at once.
std::vector<std::optional<std::pair<std::size_t, std::size_t>>> Tails(
    const std::vector<const Bytes*>& strings) {
    std::vector<std::size_t> order(strings.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::lexicographical_compare(strings[a]->rbegin(), strings[a]->rend(),
                                            strings[b]->rbegin(), strings[b]->rend());
    });
    std::vector<std::optional<std::pair<std::size_t, std::size_t>>> inside(strings.size());
    for (std::size_t k = order.size(); k-- > 1;) {
        const Bytes& tail = *strings[order[k - 1]];
        const Bytes& next = *strings[order[k]];
        if (tail.size() <= next.size() && std::equal(tail.rbegin(), tail.rend(), next.rbegin())) {
            const std::size_t host = inside[order[k]] ? inside[order[k]]->first : order[k];
            inside[order[k - 1]] = {host, strings[host]->size() - tail.size()};
        }
    }
    return inside;
}

// Each entry's pointer at the end of its chain of `=`, each chain walked once.
std::vector<std::size_t> ChainEnds(const Script& script) {
    std::vector<std::size_t> end(script.entries.size(), script.entries.size());
    for (std::size_t i = 0; i < script.entries.size(); ++i) {
        std::vector<std::size_t> chain;
        std::size_t at = i;
        while (end[at] == script.entries.size() &&
               script.entries[at].kind == ScriptEntry::Kind::Same) {
            chain.push_back(at);
            at = static_cast<std::size_t>(script.entries[at].same);
        }
        const std::size_t last = end[at] == script.entries.size() ? at : end[at];
        for (const std::size_t link : chain) {
            end[link] = last;
        }
        end[at] = last;
    }
    return end;
}

std::pair<std::uint64_t, std::uint64_t> PointerPlaces(const PointerTable& p, std::uint64_t n) {
    return p.high ? std::make_pair(p.offset + n, *p.high + n)
                  : std::make_pair(p.offset + 2 * n, p.offset + 2 * n + 1);
}

// The bytes of the string a kept pointer reaches, up to its end token, or
// to its bank's end where it has none; nothing where it reaches no byte.
std::optional<Span> KeptString(const Rom& rom, const Translation& translation, std::size_t n) {
    const PointerTable& p = translation.script->pointers;
    const auto [low, high] = PointerPlaces(p, n);
    const std::uint32_t address = rom.file[low] | std::uint32_t{rom.file[high]} << 8U;
    const std::optional<std::uint64_t> offset =
        FileOffsetOf(p.window, p.bank, address, rom.header.trainer);
    const std::uint64_t end = BankBytes(rom, p.bank, p.window).second;
    if (!offset || *offset >= end) {
        return std::nullopt;
    }
    const Decoded read = translation.table->decode(rom.file.data() + *offset,
                                                   static_cast<std::size_t>(end - *offset), true);
    return Span{*offset,
                read.end == nullptr ? end - 1 : *offset + read.size + read.end->key.size() - 1};
}

// Where a character of an entry's joined text stands in the script.
std::pair<std::size_t, std::size_t> PlaceOfColumn(const ScriptEntry& entry, std::size_t column) {
    std::size_t at = 0;
    for (std::size_t counted = 0; at < entry.text.size(); ++at) {
        const bool lead = (static_cast<unsigned char>(entry.text[at]) & 0xC0U) != 0x80;
        if (lead && ++counted == column) {
            break;
        }
    }
    return PlaceIn(entry, at);
}

// Every pointer of every script, as written, read back from the ROM made:
// it reaches the bytes of its own string, whatever else was laid out.
void CheckReached(const Bytes& file, bool trainer, const std::vector<Translation>& translations,
                  const std::vector<std::vector<std::size_t>>& ends) {
    for (std::size_t t = 0; t < translations.size(); ++t) {
        const Script& script = *translations[t].script;
        const PointerTable& p = script.pointers;
        for (const ScriptEntry& entry : script.entries) {
            const std::size_t n = ends[t][static_cast<std::size_t>(entry.index)];
            if (script.entries[n].kind != ScriptEntry::Kind::Text) {
                continue;
            }
            const Bytes& string = *translations[t].strings[n];
            const auto [low, high] = PointerPlaces(p, entry.index);
            const std::optional<std::uint64_t> at = FileOffsetOf(
                p.window, p.bank, file[low] | std::uint32_t{file[high]} << 8U, trainer);
            if (!at || *at > file.size() || string.size() > file.size() - *at ||
                !std::equal(string.begin(), string.end(),
                            file.begin() + static_cast<std::ptrdiff_t>(*at))) {
                throw InsertError(InsertError::Fault::Unreached,
                                  "pointer " + std::to_string(entry.index) + " of " +
                                      Dollar(p.offset) + " would not reach its string");
            }
        }
    }
}

}  // namespace

std::vector<std::optional<Bytes>> EncodeScript(const Script& script, const Table& table) {
    std::vector<std::optional<Bytes>> strings(static_cast<std::size_t>(script.pointers.count));
    std::vector<ScriptError> faults;
    for (const ScriptEntry& entry : script.entries) {
        if (entry.kind != ScriptEntry::Kind::Text) {
            continue;
        }
        const auto [written, text] = table.endOfText(entry.text);
        const TableEntry* end = written != nullptr ? written : table.firstEnd();
        if (end == nullptr) {
            faults.emplace_back(entry.line, 0,
                                "the table has no end token (/HEX) to end the string");
        } else {
            try {
                strings[static_cast<std::size_t>(entry.index)] = table.encodeString(text, *end);
            } catch (const EncodeError& error) {
                const auto [line, column] = PlaceOfColumn(entry, error.column());
                faults.emplace_back(line, column, error.what());
            }
        }
        if (faults.size() == ScriptErrors::kMostFaults) {
            break;
        }
    }
    if (!faults.empty()) {
        throw ScriptErrors(std::move(faults));
    }
    return strings;
}

Inserted Insert(const Rom& rom, const std::vector<Translation>& translations,
                const std::vector<Space>& spaces, std::optional<std::uint8_t> fill) {
    std::map<std::tuple<std::uint64_t, std::uint32_t, std::uint16_t>, Pool> pools;
    std::vector<Span> tables;  // the pointer tables' bytes, which no space may cover
    std::vector<Space> all = spaces;
    std::vector<std::vector<std::size_t>> ends(translations.size());
    for (std::size_t t = 0; t < translations.size(); ++t) {
        const Script& script = *translations[t].script;
        const PointerTable& p = script.pointers;
        CheckPointerTable(rom, p);
        ends[t] = ChainEnds(script);
        const auto [start, end] = BankBytes(rom, p.bank, p.window);
        const auto [place, added] = pools.try_emplace({p.bank, p.window.size, p.window.base},
                                                      Pool{p.bank, p.window, start, end, {}});
        Pool& pool = place->second;
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
        for (std::size_t s = 0; s < script.spaces.size(); ++s) {
            all.push_back(
                {script.spaces[s], t, s < script.spaceLines.size() ? script.spaceLines[s] : 0});
        }
    }
    Free free;
    for (const Space& space : all) {
        const Span& span = space.span;
        const auto refuse = [&](const std::string& why) {
            throw InsertError(InsertError::Fault::Space, Named(span) + why, space);
        };
        if (span.first < rom.prgStart()) {
            refuse(std::string(" lies over the header") +
                   (rom.header.trainer ? " and trainer" : ""));
        }
        for (const Span& table : tables) {
            if (span.first <= table.last && table.first <= span.last) {
                refuse(" lies over the pointer table at " + Dollar(table.first));
            }
        }
        // A space lies in a bank that a window of the scripts sees.
        const Pool* crossed = nullptr;
        bool inside = false;
        for (const auto& [key, pool] : pools) {
            if (span.first >= pool.start && span.first < pool.end) {
                inside = inside || span.last < pool.end;
                crossed = &pool;
            }
        }
        if (crossed == nullptr) {
            refuse(" is in no bank the scripts' pointers reach");
        }
        if (!inside) {
            refuse(" crosses the end of bank " + std::to_string(crossed->bank) + ", " +
                   TypeName(crossed->window));
        }
        free.add(span);
    }
    free.merge();
    for (std::size_t t = 0; t < translations.size(); ++t) {
        const Script& script = *translations[t].script;
        for (const ScriptEntry& entry : script.entries) {
            if (entry.kind == ScriptEntry::Kind::Keep) {
                if (const std::optional<Span> kept =
                        KeptString(rom, translations[t], static_cast<std::size_t>(entry.index))) {
                    free.take(*kept);
                }
            }
        }
    }

    Inserted inserted;
    inserted.rom = rom.file;
    std::vector<std::vector<std::optional<std::uint64_t>>> placed(translations.size());
    for (std::size_t t = 0; t < translations.size(); ++t) {
        placed[t].resize(translations[t].strings.size());
    }
    bool short_ = false;
    for (auto& keyed : pools) {
        Pool& pool = keyed.second;
        std::vector<const Bytes*> strings;
        for (const auto& [t, n] : pool.strings) {
            strings.push_back(&*translations[t].strings[n]);
        }
        const auto inside = Tails(strings);
        BankUse use{pool.bank, pool.window, 0, free.within(pool.start, pool.end), strings.size(),
                    0};
        std::vector<std::uint64_t> where(strings.size());
        for (std::size_t i = 0; i < strings.size(); ++i) {  // first fit, in entry order
            if (inside[i]) {
                ++use.shared;
                continue;
            }
            const Bytes& bytes = *strings[i];
            use.needed += bytes.size();
            const std::optional<std::uint64_t> at = free.fit(bytes.size(), pool.start, pool.end);
            if (!at) {
                short_ = true;
                continue;
            }
            where[i] = *at;
            std::copy(bytes.begin(), bytes.end(),
                      inserted.rom.begin() + static_cast<std::ptrdiff_t>(*at));
            if (!bytes.empty()) {
                free.take({*at, *at + bytes.size() - 1});
            }
        }
        for (std::size_t i = 0; i < strings.size(); ++i) {
            const auto& [t, n] = pool.strings[i];
            placed[t][n] = inside[i] ? where[inside[i]->first] + inside[i]->second : where[i];
        }
        inserted.banks.push_back(use);
    }
    if (short_) {
        throw NoRoomError(inserted.banks);
    }
    if (fill) {
        for (const Span& span : free.spans()) {
            std::fill(inserted.rom.begin() + static_cast<std::ptrdiff_t>(span.first),
                      inserted.rom.begin() + static_cast<std::ptrdiff_t>(span.last + 1), *fill);
        }
    }
    // Every pointer rewritten: to its string, or to the one it follows; a
    // kept one, and those that follow it, as the ROM has it.
    for (std::size_t t = 0; t < translations.size(); ++t) {
        const Script& script = *translations[t].script;
        const PointerTable& p = script.pointers;
        const std::uint64_t start = BankBytes(rom, p.bank, p.window).first;
        for (const ScriptEntry& entry : script.entries) {
            const std::size_t n = ends[t][static_cast<std::size_t>(entry.index)];
            const auto [low, high] = PointerPlaces(p, entry.index);
            std::uint64_t address = 0;
            if (script.entries[n].kind == ScriptEntry::Kind::Keep) {
                const auto [keptLow, keptHigh] = PointerPlaces(p, n);
                address = rom.file[keptLow] | std::uint64_t{rom.file[keptHigh]} << 8U;
            } else {
                address = p.window.base + (*placed[t][n] - start);
            }
            inserted.rom[low] = static_cast<std::uint8_t>(address & 0xFFU);
            inserted.rom[high] = static_cast<std::uint8_t>(address >> 8U);
        }
    }
    CheckReached(inserted.rom, rom.header.trainer, translations, ends);
    return inserted;
}

}  // namespace rom
