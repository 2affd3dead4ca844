// Encoding by a table in the fewest bytes that read back. A decoder reads
// the longest key at each place (an end token first), so whether a key is
// read as itself depends on the bytes after it: a search over the place in
// the text and the walks of the keys begun so far that a longer key could
// still claim.
#include <algorithm>
#include <limits>
#include <optional>
#include <queue>

#include "encode_text.h"
#include "encode_walks.h"
#include "rom/table.h"
#include "table_index.h"

namespace rom {
namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
constexpr std::size_t kNoneLeft = std::numeric_limits<std::size_t>::max();

}  // namespace

class Table::Encoder {
public:
    Encoder(const Table& table, std::string_view text, const TableEntry* end)
        : table_(table),
          index_(*table.index_),
          text_(text),
          end_(end),
          walks_(table.entries_, index_.keys, index_.keyNode, index_.endBefore),
          cost_(text.size() + 1, kNever),
          step_(text.size() + 1) {}

    std::vector<std::uint8_t> fewest() {
        bound();
        if (cost_[0] == kNever) {
            refuse();
        }
        // The fewest bytes a step at a time, where they read back, are the
        // answer; only where they do not is the search needed.
        std::vector<std::uint8_t> bytes;
        if (boundReadsBack()) {
            for (std::size_t at = 0; at < text_.size(); at = step_[at].next) {
                append(step_[at], bytes);
            }
        } else {
            for (const Step& step : search()) {
                append(step, bytes);
            }
        }
        if (end_ != nullptr) {
            bytes.insert(bytes.end(), end_->key.begin(), end_->key.end());
        }
        return bytes;
    }

    std::vector<std::uint8_t> greedy() {
        std::vector<std::uint8_t> bytes;
        for (std::size_t at = 0; at < text_.size();) {
            std::optional<Step> longest;
            forEachStep(at, [&](const Step& step) {
                if (!longest || step.next > longest->next ||
                    (step.next == longest->next && step.size < longest->size)) {
                    longest = step;
                }
            });
            if (!longest) {
                refuse();
            }
            append(*longest, bytes);
            at = longest->next;
        }
        return bytes;
    }

private:
    // One entry with its parameter bytes, or one raw byte, from one place in
    // the text to the next.
    // Places fit in 32 bits: no input is as large as 4 GiB.
    struct Step {
        std::int32_t entry = -1;  // -1: a raw byte
        std::uint8_t raw = 0;
        std::uint32_t start = 0;
        std::uint32_t next = 0;
        std::uint32_t parameters = 0;  // raw bytes after a control code, at next - 5 each
        std::uint32_t line = 0;        // the entry's, 0 for a raw byte
        std::uint32_t size = 1;
    };

    static std::size_t Of(std::int32_t entry) { return static_cast<std::size_t>(entry); }

    // Calls `take` with each step that begins at `at`.
    template <class Take>
    void forEachStep(std::size_t at, Take take) {
        if (const std::optional<std::uint8_t> raw = RawAt(text_, at)) {
            take(Step{-1, *raw, static_cast<std::uint32_t>(at),
                      static_cast<std::uint32_t>(at + kRawSize), 0, 0, 1});
        }
        std::int32_t node = 0;
        for (std::size_t depth = 0; at + depth < text_.size();) {
            node = index_.texts.child(node, static_cast<std::uint8_t>(text_[at + depth]));
            if (node < 0) {
                break;
            }
            ++depth;
            for (const std::int32_t entry : index_.sameText[Of(node)]) {
                const TableEntry& named = table_.entries_[Of(entry)];
                if (named.kind == TableEntry::Kind::End && end_ != nullptr) {
                    continue;  // it would end the string
                }
                Step step{entry,
                          0,
                          static_cast<std::uint32_t>(at),
                          static_cast<std::uint32_t>(at + depth),
                          0,
                          static_cast<std::uint32_t>(named.line),
                          static_cast<std::uint32_t>(named.key.size())};
                for (; step.parameters < named.parameters && RawAt(text_, step.next);
                     ++step.parameters) {
                    step.next += kRawSize;
                }
                if (step.parameters < named.parameters) {
                    lastControl_ = std::max(lastControl_, std::make_pair(at + 1, entry));
                    continue;  // a control code without its parameter bytes
                }
                step.size += step.parameters;
                take(step);
            }
        }
    }

    // The steps that begin at `at`, in the order of their entries' lines;
    // valid until the next call. The searches come back to a place many
    // times, each time with other walks: the last places' steps are kept.
    const std::vector<Step>& stepsAt(std::size_t at) {
        auto& slot = recent_[at % recent_.size()];
        std::size_t& place = slot.first;
        std::vector<Step>& steps = slot.second;
        if (place != at + 1) {
            steps.clear();
            forEachStep(at, [&](const Step& step) { steps.push_back(step); });
            const auto byLine = [](const Step& a, const Step& b) { return a.line < b.line; };
            if (!std::is_sorted(steps.begin(), steps.end(), byLine)) {
                std::sort(steps.begin(), steps.end(), byLine);
            }
            place = at + 1;
        }
        return steps;
    }

    void append(const Step& step, std::vector<std::uint8_t>& bytes) const {
        if (step.entry < 0) {
            bytes.push_back(step.raw);
            return;
        }
        const auto& key = table_.entries_[Of(step.entry)].key;
        bytes.insert(bytes.end(), key.begin(), key.end());
        for (std::size_t i = step.parameters; i > 0; --i) {
            bytes.push_back(*RawAt(text_, step.next - i * kRawSize));
        }
    }

    // The entry whose key is a raw byte, or -1: a decoder reads that byte
    // as it, which is the raw byte read back unless the entry reads more
    // bytes or ends the string.
    std::int32_t keyOfRaw(const Step& step) const {
        const std::int32_t node = index_.keys.root[step.raw];
        return node < 0 ? -1 : index_.keys.at(node).entry;
    }
    bool rawReads(std::int32_t entry) const {
        const TableEntry& named = table_.entries_[Of(entry)];
        return named.parameters == 0 && (named.kind != TableEntry::Kind::End || end_ == nullptr);
    }

    // Whether a decoder could read the step as itself with some bytes after
    // it: no end token begins its key, its raw byte is read as one byte.
    bool mayRead(const Step& step) {
        const std::int32_t entry = step.entry >= 0 ? step.entry : keyOfRaw(step);
        if (entry < 0) {
            return true;
        }
        if (step.entry < 0 && !rawReads(entry)) {
            walks_.note({Walks::Conflict::Kind::Raw, -1, entry, 0}, step.start);
            return false;
        }
        if (index_.endBefore[Of(entry)] >= 0) {
            walks_.note({Walks::Conflict::Kind::EndFirst, entry, index_.endBefore[Of(entry)], 0},
                        step.start);
            return false;
        }
        return true;
    }

    // The fewest bytes from each place to the text's end, each step as it
    // would be read alone: a bound under every encoding that reads back,
    // and the answer where the bytes after each step never matter.
    void bound() {
        cost_[text_.size()] = 0;
        for (std::size_t at = text_.size(); at-- > 0;) {
            forEachStep(at, [&](const Step& step) {
                if (cost_[step.next] == kNever || !mayRead(step)) {
                    return;
                }
                const std::uint64_t cost = step.size + cost_[step.next];
                if (cost < cost_[at] || (cost == cost_[at] && step.line < step_[at].line)) {
                    cost_[at] = cost;
                    step_[at] = step;
                }
            });
        }
    }

    // The state after a step: the walks begun so far that go on into it.
    std::int32_t after(std::int32_t state, const Step& step) {
        if (step.entry < 0) {
            const std::int32_t entry = keyOfRaw(step);
            if (entry < 0) {
                return walks_.raw(state, step.raw, step.start);
            }
            return rawReads(entry)
                       ? walks_.key(state, entry, step.start)
                       : walks_.note({Walks::Conflict::Kind::Raw, -1, entry, 0}, step.start);
        }
        state = walks_.key(state, step.entry, step.start);
        for (std::size_t i = step.parameters; i > 0 && state >= 0; --i) {
            state = walks_.byte(state, *RawAt(text_, step.next - i * kRawSize), step.start);
        }
        return state;
    }
    bool ends(std::int32_t state) {
        return end_ == nullptr || walks_.ends(state, end_->key, text_.size());
    }

    bool boundReadsBack() {
        std::int32_t state = 0;
        for (std::size_t at = 0; at < text_.size() && state >= 0; at = step_[at].next) {
            state = after(state, step_[at]);
        }
        return state >= 0 && ends(state);
    }

    static std::uint64_t Key(std::size_t at, std::int32_t state) {
        return static_cast<std::uint64_t>(at) << 32U | static_cast<std::uint32_t>(state);
    }

    // The fewest bytes over (place, walks), best first under the bound;
    // then, among encodings of that many bytes, the one of the first lines
    // left to right, by a search in line order that never goes past them.
    std::vector<Step> search() {
        struct Open {
            std::uint64_t f;
            std::size_t at;
            std::int32_t state;
            std::uint64_t g;
            bool operator<(const Open& o) const { return f != o.f ? f > o.f : at < o.at; }
        };
        std::priority_queue<Open> open;
        std::unordered_map<std::uint64_t, std::uint64_t> fewest;
        open.push({cost_[0], 0, 0, 0});
        fewest[Key(0, 0)] = 0;
        std::uint64_t best = kNever;
        while (!open.empty()) {
            const Open here = open.top();
            open.pop();
            if (here.g > fewest[Key(here.at, here.state)]) {
                continue;
            }
            if (here.at == text_.size()) {
                if (ends(here.state)) {
                    best = here.g;
                    break;
                }
                continue;
            }
            std::pair<std::uint64_t, std::uint64_t> last{kNever, 0};  // the last one reached
            for (const Step& step : stepsAt(here.at)) {
                if (cost_[step.next] == kNever) {
                    continue;
                }
                const std::int32_t state = after(here.state, step);
                const std::uint64_t g = here.g + step.size;
                if (state < 0 || (last.first == Key(step.next, state) && last.second <= g)) {
                    continue;
                }
                last = {Key(step.next, state), g};
                const auto [place, added] = fewest.emplace(Key(step.next, state), g);
                if (added || g < place->second) {
                    place->second = g;
                    open.push({g + cost_[step.next], step.next, state, g});
                }
            }
        }
        if (best == kNever) {
            refuse();
        }
        return inLineOrder(best);
    }

    std::vector<Step> inLineOrder(std::uint64_t best) {
        struct Frame {
            std::size_t at;
            std::int32_t state;
            std::uint64_t g;
            std::size_t tried = 0;  // the line of the step taken last, +1
            Step taken;
        };
        std::unordered_map<std::uint64_t, std::uint64_t>
            failed;  // the fewest bytes before that failed
        std::vector<Frame> frames{Frame{0, 0, 0, 0, {}}};
        while (frames.back().at != text_.size() || !ends(frames.back().state)) {
            if (frames.size() == 1 && frames.back().tried == kNoneLeft) {
                refuse();
            }
            Frame& frame = frames.back();
            std::optional<Frame> next;
            for (const Step& step : stepsAt(frame.at)) {
                const std::uint64_t g = frame.g + step.size;
                if (step.line + 1 <= frame.tried || cost_[step.next] == kNever ||
                    g + cost_[step.next] > best) {
                    continue;
                }
                const std::int32_t state = after(frame.state, step);
                const auto fail = failed.find(Key(step.next, state));
                if (state >= 0 && (fail == failed.end() || fail->second > g)) {
                    next = Frame{step.next, state, g, 0, {}};
                    frame.tried = step.line + 1;
                    frame.taken = step;
                    break;
                }
            }
            if (next) {
                frames.push_back(*next);
                continue;
            }
            const auto [place, added] = failed.emplace(Key(frame.at, frame.state), frame.g);
            place->second = std::min(place->second, frame.g);
            if (frames.size() == 1) {
                frame.tried = kNoneLeft;  // not so: the best-first search found one
            } else {
                frames.pop_back();
            }
        }
        std::vector<Step> path;
        for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
            path.push_back(frames[i].taken);
        }
        return path;
    }

    [[noreturn]] void refuse() {
        // The furthest place the text can be reached, whatever reads back.
        std::vector<bool> reached(text_.size() + 1, false);
        reached[0] = true;
        std::size_t furthest = 0;
        for (std::size_t at = 0; at < text_.size(); ++at) {
            if (reached[at]) {
                const std::vector<Step>& steps = stepsAt(at);
                for (const Step& step : steps) {
                    reached[step.next] = true;
                }
                furthest = steps.empty() ? at : furthest;
            }
        }
        if (!reached[text_.size()]) {
            const TableEntry* control = lastControl_.first == furthest + 1
                                            ? &table_.entries_[Of(lastControl_.second)]
                                            : nullptr;
            throw Unencodable(text_, furthest, control);
        }
        const Walks::Conflict& why = walks_.furthest();
        throw EncodeError(ColumnOf(text_, std::min(why.at, text_.size())),
                          "no bytes for it read back as it: " + walks_.explain(why));
    }

    const Table& table_;
    const Index& index_;
    std::string_view text_;
    const TableEntry* end_;
    Walks walks_;
    std::vector<std::uint64_t> cost_;  // the bound from each place to the end
    std::vector<Step> step_;           // the first step of it
    std::pair<std::size_t, std::int32_t> lastControl_{0, -1};  // place + 1, entry
    std::vector<std::pair<std::size_t, std::vector<Step>>> recent_ =
        std::vector<std::pair<std::size_t, std::vector<Step>>>(256);  // place + 1, its steps
};

std::vector<std::uint8_t> Table::encode(std::string_view text) const {
    return Encoder(*this, text, nullptr).fewest();
}

std::vector<std::uint8_t> Table::encodeString(std::string_view text, const TableEntry& end) const {
    return Encoder(*this, text, &end).fewest();
}

std::vector<std::uint8_t> Table::encodeGreedy(std::string_view text) const {
    return Encoder(*this, text, nullptr).greedy();
}

}  // namespace rom
