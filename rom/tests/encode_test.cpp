// The encoder against a brute-force answer: over small random tables whose
// keys begin with other keys and run into the end byte, every way to cut a
// text into entries and raw bytes is tried, each read back by a decoder
// written here from the table format (an end token first, then the longest
// key), with every few bytes that could follow. The fewest bytes that read
// back, the first lines among them, or a refusal exactly when none do.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "rom/table.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Entry {
    Bytes key;
    std::string text;
    char form = ' ';  // ' ' text, '/' end, '$' control of one parameter
    std::size_t line = 0;
};

const std::uint8_t kBytes[] = {0x01, 0x02, 0x03, 0x07};
const std::uint8_t kOther = 0x55;  // a byte of no key
const std::uint8_t kRawBytes[] = {0x01, 0x02, 0x03, 0x07, kOther};

std::string Hex(std::uint8_t byte) {
    const char* digits = "0123456789ABCDEF";
    return {digits[byte >> 4U], digits[byte & 15U]};
}

std::string Raw(std::uint8_t byte) { return "<$" + Hex(byte) + ">"; }

// What a decoder reads: the text, the lines of what it read (0 a raw byte),
// where it stopped, and whether an end token stopped it.
struct Read {
    std::string text;
    std::vector<std::size_t> lines;
    std::size_t size = 0;
    bool ended = false;
};

Read Decode(const std::vector<Entry>& table, const Bytes& data, bool stopAtEnd) {
    Read read;
    std::size_t at = 0;
    while (at < data.size()) {
        const Entry* found = nullptr;
        for (const Entry& entry : table) {
            const bool fits = entry.key.size() <= data.size() - at &&
                              std::equal(entry.key.begin(), entry.key.end(),
                                         data.begin() + static_cast<std::ptrdiff_t>(at));
            if (!fits) {
                continue;
            }
            const bool end = entry.form == '/';
            const bool foundEnd = found != nullptr && found->form == '/';
            if (foundEnd ? end && entry.key.size() < found->key.size()
                         : end || found == nullptr || entry.key.size() > found->key.size()) {
                found = &entry;
            }
        }
        if (found == nullptr) {
            read.text += Raw(data[at++]);
            read.lines.push_back(0);
            continue;
        }
        if (found->form == '/' && stopAtEnd) {
            read.ended = true;
            break;
        }
        at += found->key.size();
        read.text += found->text;
        for (std::size_t i = 0; found->text.empty() && i < found->key.size(); ++i) {
            read.text += Raw(found->key[i]);  // an end token of no text, read on
        }
        read.lines.push_back(found->line);
        if (found->form == '$' && at < data.size()) {
            read.text += Raw(data[at++]);
        }
    }
    read.size = at;
    return read;
}

// Whether bytes read back as the text: alone, or as a string ended by `end`
// whatever follows it.
std::optional<std::vector<std::size_t>> ReadsBack(const std::vector<Entry>& table,
                                                  const std::string& text, const Bytes& bytes,
                                                  const Entry* end, std::size_t longest) {
    if (end == nullptr) {
        const Read read = Decode(table, bytes, false);
        return read.text == text ? std::optional(read.lines) : std::nullopt;
    }
    std::optional<std::vector<std::size_t>> lines;
    std::vector<std::uint8_t> after(longest, 0);
    for (std::size_t n = 0;; ++n) {  // every `longest` bytes of kBytes and kOther
        std::size_t rest = n;
        for (std::uint8_t& byte : after) {
            byte = rest % 5 == 4 ? kOther : kBytes[rest % 5];
            rest /= 5;
        }
        if (rest > 0) {
            return lines;
        }
        Bytes data = bytes;
        data.insert(data.end(), end->key.begin(), end->key.end());
        data.insert(data.end(), after.begin(), after.end());
        const Read read = Decode(table, data, true);
        if (read.text != text || !read.ended || read.size != bytes.size()) {
            return std::nullopt;
        }
        lines = read.lines;
    }
}

// The best of every way to cut the text: fewest bytes, then first lines.
std::optional<Bytes> Brute(const std::vector<Entry>& table, const std::string& text,
                           const Entry* end) {
    std::size_t longest = 1;
    for (const Entry& entry : table) {
        longest = std::max(longest, entry.key.size());
    }
    std::optional<std::pair<Bytes, std::vector<std::size_t>>> best;
    const auto consider = [&](const Bytes& bytes) {
        const auto lines = ReadsBack(table, text, bytes, end, longest);
        if (lines && (!best || bytes.size() < best->first.size() ||
                      (bytes.size() == best->first.size() && *lines < best->second))) {
            best = {bytes, *lines};
        }
    };
    // Depth first over the places in the text.
    std::vector<std::pair<std::size_t, Bytes>> todo{{0, {}}};
    while (!todo.empty()) {
        const auto [at, bytes] = todo.back();
        todo.pop_back();
        if (at == text.size()) {
            consider(bytes);
            continue;
        }
        const auto rawAt = [&](std::size_t place) -> std::optional<std::uint8_t> {
            for (const std::uint8_t byte : kRawBytes) {
                if (place <= text.size() && text.compare(place, 5, Raw(byte)) == 0) {
                    return byte;
                }
            }
            return std::nullopt;
        };
        if (const auto raw = rawAt(at)) {
            Bytes more = bytes;
            more.push_back(*raw);
            todo.emplace_back(at + 5, more);
        }
        for (const Entry& entry : table) {
            const std::size_t next = at + entry.text.size();
            const auto parameter = entry.form == '$' ? rawAt(next) : std::nullopt;
            if ((entry.form == '/' && end != nullptr) || entry.text.empty() ||
                text.compare(at, entry.text.size(), entry.text) != 0 ||
                (entry.form == '$' && !parameter)) {
                continue;
            }
            Bytes more = bytes;
            more.insert(more.end(), entry.key.begin(), entry.key.end());
            if (parameter) {
                more.push_back(*parameter);
            }
            todo.emplace_back(next + (parameter ? 5 : 0), more);
        }
    }
    return best ? std::optional(best->first) : std::nullopt;
}

struct Case {
    std::vector<Entry> entries;
    std::string file;
};

Case RandomTable(std::mt19937& random) {
    Case made;
    std::map<Bytes, bool> keys{{{0x07}, true}};
    const std::size_t endLine = 1 + random() % 3;
    const std::size_t count = 3 + random() % 4;
    const char* texts[] = {"a", "b", "ab", "ba", "a"};
    for (std::size_t line = 1; made.entries.size() < count + 1; ++line) {
        Entry entry;
        entry.line = line;
        if (line == endLine) {
            entry = {{0x07}, "", '/', line};
            made.file += "/07\n";
        } else {
            do {
                entry.key.resize(1 + random() % 3);
                for (std::uint8_t& byte : entry.key) {
                    byte = kBytes[random() % 4];
                }
            } while (!keys.emplace(entry.key, true).second);
            entry.form = random() % 7 == 0 ? '$' : ' ';
            entry.text = entry.form == '$' ? "<c>" : texts[random() % 5];
            std::string hex;
            for (const std::uint8_t byte : entry.key) {
                hex += Hex(byte);
            }
            made.file += entry.form == '$' ? "$" + hex + "=<c>,1\n" : hex + "=" + entry.text + "\n";
        }
        made.entries.push_back(entry);
    }
    return made;
}

std::string RandomText(std::mt19937& random) {
    const char* pieces[] = {"a", "b", "a", "b", "<$01>", "<$03>", "<$55>", "<c><$02>"};
    std::string text;
    for (std::size_t n = random() % 6; n > 0; --n) {
        text += pieces[random() % 8];
    }
    return text;
}

TEST(Encode, MatchesTheBruteForceOptimumOverRandomTables) {
    std::mt19937 random(20261209);
    std::size_t compared = 0;
    std::size_t refused = 0;
    for (int round = 0; round < 1500; ++round) {
        const Case made = RandomTable(random);
        const rom::Table table = rom::Table::Read(made.file);
        for (int n = 0; n < 4; ++n) {
            const std::string text = RandomText(random);
            // Raw bytes that are keys stand for those keys' bytes: not a
            // question the brute force can settle by the text alone.
            bool rawKey = false;
            for (const Entry& entry : made.entries) {
                rawKey = rawKey || (entry.key.size() == 1 &&
                                    text.find(Raw(entry.key[0])) != std::string::npos);
            }
            if (rawKey) {
                continue;
            }
            for (const bool string : {true, false}) {
                const Entry* end =
                    string ? &*std::find_if(made.entries.begin(), made.entries.end(),
                                            [](const Entry& e) { return e.form == '/'; })
                           : nullptr;
                const std::optional<Bytes> expected = Brute(made.entries, text, end);
                std::optional<Bytes> got;
                try {
                    got = string ? table.encodeString(text, *table.firstEnd()) : table.encode(text);
                    if (string) {
                        got->resize(got->size() - 1);  // the end token
                    }
                } catch (const rom::EncodeError&) {
                    ++refused;
                }
                ASSERT_EQ(got, expected) << made.file << "text: '" << text << "'"
                                         << (string ? " as a string" : " alone");
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 5000U);
    EXPECT_GT(refused, 100U) << "tables that trap some texts";
}

}  // namespace

namespace {

// The faults found by hand, each a row: the table, the text, and the bytes
// of the string (its end token included), or the words of the refusal.
TEST(Encode, KeepsEachStringApartFromWhatFollowsIt) {
    const std::tuple<const char*, const char*, const char*, Bytes, const char*> rows[] = {
        {"the last key and the end token make a longer key",
         "41=A\n42=B\n4100=Z\n/00\n",
         "BA",
         {},
         "the entry of line 1 (41) is read as the entry of line 3 (4100) with the end token after "
         "it"},
        {"the empty text where keys begin with others", "41=A\n4142=Z\n/00\n", "", {0x00}, ""},
        {"a key that could run past the end token",
         "41=A\n420001=Z\n42=B\n/00\n",
         "B",
         {},
         "the entry of line 3 (42) could be read as a longer key with the bytes after the end "
         "token"},
        {"the fewest bytes, not the first found",
         "/07\n030302=a\n03=a\n020207=b\n030103=b\n",
         "bbaab",
         {0x02, 0x02, 0x07, 0x02, 0x02, 0x07, 0x03, 0x03, 0x03, 0x01, 0x03, 0x07},
         ""},
        {"an encoding found where one step reads back only later",
         "/07\n030302=b\n020202=ba\n03=a\n0202=ba\n",
         "aaaaba",
         {0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x02, 0x03, 0x07},
         ""},
        {"an end token that begins a key", "/00\n0041=A\n41=A\n", "A", {0x41, 0x00}, ""},
        {"a raw byte that is a control code's key",
         "01=A\n$02=<c>,1\n/00\n",
         "<$02>",
         {},
         "a raw byte is the key of the entry of line 2 (02), which a decoder reads otherwise: "
         "write that entry's text"},
        {"the first entry read as a longer key",
         "0102=A\n010203=X\n03=B\n/00\n",
         "AB",
         {},
         "the entry of line 1 (0102) is read as the entry of line 2 (010203) with the bytes that "
         "follow it"},
    };
    for (const auto& [name, file, text, bytes, fault] : rows) {
        const rom::Table table = rom::Table::Read(file);
        try {
            EXPECT_EQ(table.encodeString(text, *table.firstEnd()), bytes) << name;
            EXPECT_FALSE(bytes.empty()) << name << ": encoded";
        } catch (const rom::EncodeError& error) {
            EXPECT_TRUE(bytes.empty()) << name << ": " << error.what();
            EXPECT_EQ(error.what(), std::string("no bytes for it read back as it: ") + fault)
                << name;
        }
    }
    // A text that ends with an end token, as a dump writes another than the
    // first, or by its own text where no other entry has that text.
    const rom::Table ends = rom::Table::Read("41=A\n/00\n/FF=[end]\n/FE=A\n");
    const auto [other, before] = ends.endOfText("AA<$ff>");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->key, Bytes{0xFF});
    EXPECT_EQ(before, "AA");
    EXPECT_EQ(ends.endOfText("AA[end]").first, other) << "its text";
    EXPECT_EQ(ends.endOfText("AA").first, nullptr) << "FE's text is A's too";
    EXPECT_EQ(ends.writtenEnd(*other), "<$FF>");
    // Bytes alone, as `word --table` gives them, read back alone.
    const rom::Table raw = rom::Table::Read("0102=A\n02=B\n");
    EXPECT_THROW((void)raw.encode("<$01>B"), rom::EncodeError) << "01 02 reads A";
    EXPECT_EQ(raw.encode("<$01>"), Bytes{0x01}) << "alone, 01 is a raw byte";
    EXPECT_EQ(raw.encode(""), Bytes{});
}

}  // namespace
