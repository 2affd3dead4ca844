// Encoding by a table in the fewest bytes: a shortest path over the text,
// from its end back, that keeps only the encodings a decoder reads back.
#include <algorithm>
#include <limits>
#include <optional>

#include "rom/numbers.h"
#include "rom/table.h"

namespace rom {
namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
constexpr std::size_t kRawSize = 5;  // "<$XX>"

unsigned Hex(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    const unsigned lower = static_cast<unsigned>(c) | 0x20U;
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : 16;
}

// The byte that "<$XX>" at `at` stands for.
std::optional<std::uint8_t> RawAt(std::string_view text, std::size_t at) {
    if (at + kRawSize > text.size() || text[at] != '<' || text[at + 1] != '$' ||
        text[at + 4] != '>' || Hex(text[at + 2]) > 15 || Hex(text[at + 3]) > 15) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(Hex(text[at + 2]) << 4U | Hex(text[at + 3]));
}

// The character at `at` and its column, counted in characters from 1.
std::size_t ColumnOf(std::string_view text, std::size_t at) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        column += (static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80 ? 1 : 0;
    }
    return column;
}

std::string CharacterAt(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80) {
        ++end;
    }
    return std::string(text.substr(at, end - at));
}

std::string KeyHex(const std::vector<std::uint8_t>& key) {
    std::string hex;
    for (const std::uint8_t byte : key) {
        hex += ByteHex(byte);
    }
    return hex;
}

}  // namespace

class Encoder {
public:
    Encoder(const Table& table, std::string_view text)
        : table_(table), text_(text), cost_(text.size() + 1, kNever), step_(text.size() + 1) {
        // Where no key begins with another's bytes, every encoding reads back.
        for (const TableEntry& entry : table.entries_) {
            std::int32_t node = 0;
            for (std::size_t depth = 0; depth + 1 < entry.key.size(); ++depth) {
                node = table.keys_.child(node, entry.key[depth]);
                prefixFree_ =
                    prefixFree_ && table.keys_.nodes[static_cast<std::size_t>(node)].entry < 0;
            }
        }
    }

    std::vector<std::uint8_t> fewest() {
        if (!prefixFree_) {
            return fewestReadingBack();
        }
        cost_[text_.size()] = 0;
        for (std::size_t at = text_.size(); at-- > 0;) {
            consider(at);
        }
        if (cost_[0] == kNever) {
            refuse();
        }
        std::vector<std::uint8_t> bytes;
        for (std::size_t at = 0; at < text_.size(); at = step_[at].next) {
            append(step_[at], bytes);
        }
        return bytes;
    }

    std::vector<std::uint8_t> greedy() {
        std::vector<std::uint8_t> bytes;
        for (std::size_t at = 0; at < text_.size();) {
            Step longest;
            match(at, [&](const Step& step) { longest = step.next != 0 ? step : longest; });
            if (longest.next == 0) {
                throw EncodeError(ColumnOf(text_, at), "no entry of the table stands for '" +
                                                           CharacterAt(text_, at) + "'");
            }
            append(longest, bytes);
            at = longest.next;
        }
        return bytes;
    }

private:
    // One entry, or one raw byte, from one place in the text to the next.
    struct Step {
        std::int32_t entry = -1;  // -1: a raw byte
        std::uint8_t raw = 0;
        std::size_t next = 0;        // where the text goes on; 0 where the step is not whole
        std::size_t parameters = 0;  // raw bytes after a control code, at next - 5 each
        std::size_t start = 0;       // where in the text it begins
    };

    // Calls `take` with each step that begins at `at`, shortest text first;
    // false where none does.
    template <class Take>
    bool match(std::size_t at, Take take) const {
        if (const std::optional<std::uint8_t> raw = RawAt(text_, at)) {
            take(Step{-1, *raw, at + kRawSize, 0, at});
            return true;
        }
        bool any = false;
        for (std::int32_t node = 0, depth = 0;
             at + static_cast<std::size_t>(depth) < text_.size();) {
            node = table_.texts_.child(
                node, static_cast<std::uint8_t>(text_[at + static_cast<std::size_t>(depth)]));
            if (node < 0) {
                break;
            }
            ++depth;
            const std::int32_t best = table_.texts_.nodes[static_cast<std::size_t>(node)].entry;
            if (best < 0) {
                continue;
            }
            // One entry for a text does as well as any other unless keys begin
            // with other keys.
            const std::vector<std::int32_t>& all = table_.sameText_[static_cast<std::size_t>(node)];
            const std::int32_t* const choices = prefixFree_ ? &best : all.data();
            for (std::size_t choice = 0; choice < (prefixFree_ ? 1 : all.size()); ++choice) {
                const std::int32_t entry = choices[choice];
                Step step{entry, 0, at + static_cast<std::size_t>(depth), 0, at};
                const unsigned parameters =
                    table_.entries_[static_cast<std::size_t>(entry)].parameters;
                for (; step.parameters < parameters && RawAt(text_, step.next); ++step.parameters) {
                    step.next += kRawSize;
                }
                if (step.parameters < parameters) {
                    lastControl_ = entry;
                    step.next = 0;  // a control code without its parameter bytes
                }
                take(step);
                any = true;
            }
        }
        return any;
    }

    void append(const Step& step, std::vector<std::uint8_t>& bytes) const {
        if (step.entry < 0) {
            bytes.push_back(step.raw);
            return;
        }
        const auto& key = table_.entries_[static_cast<std::size_t>(step.entry)].key;
        bytes.insert(bytes.end(), key.begin(), key.end());
        for (std::size_t i = step.parameters; i > 0; --i) {
            bytes.push_back(*RawAt(text_, step.next - i * kRawSize));
        }
    }

    std::uint64_t sizeOf(const Step& step) const {
        return step.entry < 0 ? 1
                              : table_.entries_[static_cast<std::size_t>(step.entry)].key.size() +
                                    step.parameters;
    }

    std::size_t lineOf(const Step& step) const {
        return step.entry < 0 ? 0 : table_.entries_[static_cast<std::size_t>(step.entry)].line;
    }

    void consider(std::size_t at) {
        match(at, [&](const Step& step) {
            if (step.next == 0 || cost_[step.next] == kNever) {
                return;
            }
            const std::uint64_t cost = sizeOf(step) + cost_[step.next];
            if (cost < cost_[at] || (cost == cost_[at] && lineOf(step) < lineOf(step_[at]))) {
                cost_[at] = cost;
                step_[at] = step;
            }
        });
    }

    // Where a key begins with another's bytes, a step may read back with
    // one way on and not with another: the shortest path over each place
    // and its first step, keeping at each place every step in the order of
    // (bytes, line).
    struct State {
        Step step;
        std::uint64_t cost = kNever;
        std::size_t next = 0;  // the state it goes on with, at step.next
    };

    std::vector<std::uint8_t> fewestReadingBack() {
        std::vector<std::vector<State>> states(text_.size() + 1);
        for (std::size_t at = text_.size(); at-- > 0;) {
            std::vector<State>& here = states[at];
            match(at, [&](const Step& step) {
                if (step.next == 0) {
                    return;
                }
                State state{step};
                if (step.next == text_.size()) {
                    if (readsBack(step, states, {})) {
                        state.cost = sizeOf(step);
                    }
                } else {
                    const std::vector<State>& after = states[step.next];
                    for (std::size_t k = 0; k < after.size(); ++k) {
                        if (readsBack(step, states, {step.next, k})) {
                            state = {step, sizeOf(step) + after[k].cost, k};
                            break;
                        }
                    }
                }
                if (state.cost != kNever) {
                    here.push_back(state);
                }
            });
            std::stable_sort(here.begin(), here.end(), [this](const State& a, const State& b) {
                return a.cost != b.cost ? a.cost < b.cost : lineOf(a.step) < lineOf(b.step);
            });
        }
        if (states[0].empty()) {
            refuse();
        }
        std::vector<std::uint8_t> bytes;
        for (std::size_t at = 0, k = 0; at < text_.size();) {
            const State& state = states[at][k];
            append(state.step, bytes);
            at = state.step.next;
            k = state.next;
        }
        return bytes;
    }

    // Whether the step reads back where the state at `then` (a place and
    // its index there) follows it; none at the text's end.
    bool readsBack(const Step& step, const std::vector<std::vector<State>>& states,
                   std::pair<std::size_t, std::size_t> then) const {
        std::vector<std::uint8_t>& bytes = following_;
        bytes.clear();
        append(step, bytes);
        const std::size_t enough = bytes.size() + table_.longestKey_;
        for (std::size_t at = then.first, k = then.second;
             at != 0 && at < text_.size() && bytes.size() < enough;) {
            const State& state = states[at][k];
            append(state.step, bytes);
            at = state.step.next;
            k = state.next;
        }
        return decodesAs(step, bytes);
    }

    // Whether a decoder, at the step's first byte, reads the step's key and
    // no other from `bytes`, the step's own and those after: no end token
    // within it, no longer key over what follows.
    bool decodesAs(const Step& step, const std::vector<std::uint8_t>& bytes) const {
        const std::size_t own =
            step.entry < 0 ? 1 : table_.entries_[static_cast<std::size_t>(step.entry)].key.size();
        std::int32_t node = 0;
        for (std::size_t depth = 0; depth < bytes.size(); ++depth) {
            node = table_.keys_.child(node, bytes[depth]);
            if (node < 0) {
                return true;
            }
            const std::int32_t entry = table_.keys_.nodes[static_cast<std::size_t>(node)].entry;
            if (entry >= 0 && depth + 1 != own &&
                (depth + 1 > own ||
                 table_.entries_[static_cast<std::size_t>(entry)].kind == TableEntry::Kind::End)) {
                misread_ = entry;
                misreadStep_ = step.entry;
                misreadAt_ = step.start;
                return false;
            }
        }
        return true;
    }

    [[noreturn]] void refuse() const {
        // The furthest place the text can be reached, whatever reads back.
        std::vector<bool> reached(text_.size() + 1, false);
        reached[0] = true;
        std::size_t furthest = 0;
        for (std::size_t at = 0; at < text_.size(); ++at) {
            if (!reached[at]) {
                continue;
            }
            bool any = false;
            match(at, [&](const Step& step) {
                any = any || step.next != 0;
                if (step.next != 0) {
                    reached[step.next] = true;
                }
            });
            furthest = any ? furthest : at;
        }
        if (!reached[text_.size()]) {
            const std::size_t column = ColumnOf(text_, furthest);
            lastControl_ = -1;
            match(furthest, [](const Step&) {});
            if (lastControl_ >= 0) {
                const TableEntry& control = table_.entries_[static_cast<std::size_t>(lastControl_)];
                throw EncodeError(column, "the control code " + control.text + " (line " +
                                              std::to_string(control.line) + ") is followed by " +
                                              std::to_string(control.parameters) +
                                              " parameter bytes, written <$XX>");
            }
            throw EncodeError(
                column, "no entry of the table stands for '" + CharacterAt(text_, furthest) + "'");
        }
        const auto entry = [this](std::int32_t index) -> std::string {
            if (index < 0) {
                return "a raw byte";
            }
            const TableEntry& named = table_.entries_[static_cast<std::size_t>(index)];
            return "the entry of line " + std::to_string(named.line) + " (" + KeyHex(named.key) +
                   ")";
        };
        throw EncodeError(ColumnOf(text_, misreadAt_),
                          "no bytes for it read back as it: " + entry(misreadStep_) +
                              " is read as " + entry(misread_) + " with the bytes that follow it");
    }

    const Table& table_;
    std::string_view text_;
    std::vector<std::uint64_t> cost_;  // the fewest bytes from each place to the end
    std::vector<Step> step_;           // the first step of those bytes
    bool prefixFree_ = true;
    mutable std::vector<std::uint8_t> following_;  // a step's bytes and those after, reused
    mutable std::int32_t misread_ = -1;            // the entry a decoder read in another's place
    mutable std::int32_t misreadStep_ = -1;
    mutable std::size_t misreadAt_ =
        0;  // where in the text that other entry begins        // that other entry
    mutable std::int32_t lastControl_ = -1;
};

std::vector<std::uint8_t> Table::encode(std::string_view text) const {
    return Encoder(*this, text).fewest();
}

std::vector<std::uint8_t> Table::encodeGreedy(std::string_view text) const {
    return Encoder(*this, text).greedy();
}

}  // namespace rom
