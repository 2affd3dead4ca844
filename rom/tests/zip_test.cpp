// Zips as the format lays them out, written here: entries found, chosen and
// checked, and each kind of damage refused by what it is.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>

#include "plain_hashes.h"
#include "rom/zip.h"

namespace {

using rom::Bytes;

const PlainHashes kHashes;

// Little-endian fields of the sizes given, as (value, bytes) pairs.
void Put(Bytes& out, std::initializer_list<std::pair<std::uint32_t, int>> fields) {
    for (const auto& [value, count] : fields) {
        for (int i = 0; i < count; ++i) {
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
}

struct File {
    std::string name;
    Bytes data;
};

// Stored entries, each after a local header with an empty extra field of
// four bytes, then the directory and the end record with its comment.
Bytes Zip(const std::vector<File>& files, const std::string& comment = "") {
    Bytes zip;
    Bytes directory;
    for (const File& file : files) {
        const auto at = static_cast<std::uint32_t>(zip.size());
        const std::uint32_t crc = kHashes.crc32(file.data.data(), file.data.size());
        const auto size = static_cast<std::uint32_t>(file.data.size());
        const auto name = static_cast<std::uint32_t>(file.name.size());
        Put(zip,
            {{0x04034B50, 4}, {20, 2}, {0, 2}, {0, 2}, {0, 4}, {crc, 4}, {size, 4}, {size, 4}});
        Put(zip, {{name, 2}, {4, 2}});
        zip.insert(zip.end(), file.name.begin(), file.name.end());
        Put(zip, {{0xCAFE, 2}, {0, 2}});
        zip.insert(zip.end(), file.data.begin(), file.data.end());
        Put(directory, {{0x02014B50, 4}, {20, 2}, {20, 2}, {0, 2}, {0, 2}, {0, 4}, {crc, 4}});
        Put(directory, {{size, 4}, {size, 4}, {name, 2}, {0, 2}, {0, 2}, {0, 2}, {0, 2}, {0, 4}});
        Put(directory, {{at, 4}});
        directory.insert(directory.end(), file.name.begin(), file.name.end());
    }
    const auto count = static_cast<std::uint32_t>(files.size());
    const auto start = static_cast<std::uint32_t>(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    Put(zip, {{0x06054B50, 4}, {0, 4}, {count, 2}, {count, 2}});
    Put(zip, {{static_cast<std::uint32_t>(directory.size()), 4}, {start, 4}});
    Put(zip, {{static_cast<std::uint32_t>(comment.size()), 2}});
    zip.insert(zip.end(), comment.begin(), comment.end());
    return zip;
}

const Bytes kGame = {'N', 'E', 'S', 0x1A, 1, 2, 3};
const Bytes kOther = {'N', 'E', 'S', 0x1A, 9};

// Where the first directory record begins, in a zip of kGame as "a.nes".
constexpr std::size_t kRecord = 30 + 5 + 4 + 7;

// An inflater that is never to be called: the test's entries are stored.
class NoInflater : public rom::Inflater {
public:
    [[nodiscard]] Bytes inflate(const std::uint8_t*, std::size_t, std::uint64_t) const override {
        throw std::logic_error("a stored entry was inflated");
    }
};

TEST(Zip, FindsEachFilePastFoldersAndAComment) {
    const Bytes zip = Zip({{"a.nes", kGame}, {"saves/", {}}, {"b.nes", kOther}}, "PK\x05\x06 hi");
    ASSERT_TRUE(rom::IsZip(zip));
    const std::vector<rom::ZipEntry> entries = rom::ReadZip(zip, 1024);
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[1].name, "b.nes");
    EXPECT_EQ(rom::EntryBytes(zip, entries[0], NoInflater(), kHashes), kGame);
    EXPECT_EQ(rom::EntryBytes(zip, rom::ChooseEntry(entries, "b.nes"), NoInflater(), kHashes),
              kOther);
    EXPECT_TRUE(rom::IsZip(Zip({})));
    EXPECT_FALSE(rom::IsZip(kGame));
}

// The only file, or the one named; the command line's tests name the
// files of a zip that holds several.
TEST(Zip, ChoosesTheOnlyFileOrTheOneNamed) {
    const std::vector<rom::ZipEntry> one = rom::ReadZip(Zip({{"a.nes", kGame}}), 1024), none;
    EXPECT_EQ(rom::ChooseEntry(one, "").name, "a.nes");
    EXPECT_THROW((void)rom::ChooseEntry(none, ""), rom::ZipError) << "an empty zip";
}

// Each field damaged in turn, from a zip that reads.
TEST(Zip, RefusesEachKindOfDamageByWhatItIs) {
    const Bytes good = Zip({{"a.nes", kGame}});
    const std::size_t end = good.size() - 22;
    const auto set = [](std::size_t at, std::uint32_t value, int count) {
        return [=](Bytes& zip) {
            for (int i = 0; i < count; ++i) {
                zip[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        };
    };
    const struct {
        const char* name;
        std::function<void(Bytes&)> damage;
        std::uint64_t largest;
        const char* said;
    } rows[] = {
        {"too short", [](Bytes& zip) { zip.resize(21); }, 64, "shorter than a zip's end record"},
        {"no end record", set(end, 0, 4), 64, "it has no end record"},
        {"a comment longer than what is left", set(end + 20, 1, 2), 64, "no end record"},
        {"a split zip", set(end + 4, 1, 2), 64, "one part of a split zip"},
        {"a zip64", set(end + 16, 0xFFFFFFFF, 4), 64, "a zip64"},
        {"a directory past the end record", set(end + 12, 0x100, 4), 64, "its directory is not"},
        {"more records than the directory holds", set(end + 10, 2, 2), 64, "cut short"},
        {"a record's name past the directory", set(kRecord + 28, 9, 2), 64, "past the directory's"},
        {"encrypted", set(kRecord + 8, 1, 2), 64, "a.nes is encrypted"},
        {"packed by LZMA", set(kRecord + 10, 14, 2), 64, "a.nes is packed by method 14"},
        {"stored, with two sizes", set(kRecord + 20, 6, 4), 64, "its two sizes differ"},
        {"larger than the ceiling", [](Bytes&) {}, 6, "a.nes: larger than the 0 MiB"},
        {"a local header elsewhere", set(kRecord + 42, 3, 4), 64, "local header is not where"},
        {"data past the end", set(26, 0xFFFF, 2), 64, "data runs past the file's end"},
        {"a zip64 entry", set(kRecord + 24, 0xFFFFFFFF, 4), 64, "a.nes is in a zip64 record"},
    };
    for (const auto& row : rows) {
        Bytes zip = good;
        row.damage(zip);
        try {
            (void)rom::ReadZip(zip, row.largest);
            ADD_FAILURE() << row.name;
        } catch (const rom::ZipError& error) {
            EXPECT_NE(std::string(error.what()).find(row.said), std::string::npos)
                << row.name << ": " << error.what();
        }
    }
}

// Bytes that are not the entry's, by size or CRC-32, as an inflater or a
// damaged file may give them.
TEST(Zip, ChecksWhatAnEntryHolds) {
    Bytes zip = Zip({{"a.nes", kGame}});
    const rom::ZipEntry entry = rom::ReadZip(zip, 64).front();
    EXPECT_THROW(rom::CheckEntry(entry, Bytes(kGame.begin(), kGame.end() - 1), kHashes),
                 rom::ZipError);
    zip[entry.dataAt + 5] ^= 1U;
    EXPECT_THROW((void)rom::EntryBytes(zip, entry, NoInflater(), kHashes), rom::ZipError);
}

}  // namespace
