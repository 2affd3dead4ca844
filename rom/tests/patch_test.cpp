// Patches: made then applied gives the target byte for byte, in both
// formats, for random pairs; a BPS carried across a header change; IPS at
// its limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "plain_hashes.h"
#include "reference_patchers.h"
#include "rom/patch.h"

namespace {

using rom::Bytes;

const rom::Hasher& Hashes() {
    static const PlainHashes hashes;
    return hashes;
}

const Bytes kEof = {'E', 'O', 'F'};  // what a record at $454F46 would read as

// A BPS of `body` (its head and actions) for `source`, its source's and its
// own checksums right, the target's 0.
Bytes Crafted(const Bytes& source, const Bytes& body) {
    Bytes patch = {'B', 'P', 'S', '1'};
    patch.insert(patch.end(), body.begin(), body.end());
    const auto put = [&](std::uint32_t value) {
        for (unsigned shift = 0; shift < 32; shift += 8) {
            patch.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    };
    put(Hashes().crc32(source.data(), source.size()));
    put(0);
    put(Hashes().crc32(patch.data(), patch.size()));
    return patch;
}

Bytes Random(std::mt19937& random, std::size_t size) {
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(random() % 4 == 0 ? random() : 0x20);  // runs, and noise
    }
    return bytes;
}

// A target made from the source as an edit makes one: bytes changed, a block
// moved, a run written, the end cut or grown.
Bytes Edited(std::mt19937& random, Bytes target) {
    for (int edit = 0; edit < 6; ++edit) {
        const std::size_t at = target.empty() ? 0 : random() % target.size();
        switch (random() % 4) {
            case 0:
                if (!target.empty()) {
                    target[at] = static_cast<std::uint8_t>(random());
                }
                break;
            case 1: {
                const Bytes block(target.begin() + static_cast<std::ptrdiff_t>(at),
                                  target.begin() + static_cast<std::ptrdiff_t>(
                                                       std::min(target.size(), at + 300)));
                target.insert(
                    target.begin() + static_cast<std::ptrdiff_t>(random() % (target.size() + 1)),
                    block.begin(), block.end());
                break;
            }
            case 2:
                target.insert(target.begin() + static_cast<std::ptrdiff_t>(at), random() % 200,
                              0xAB);
                break;
            default:
                target.resize(random() % (target.size() + 400));
        }
    }
    return target;
}

TEST(Patch, MakeThenApplyGivesTheTarget) {
    std::mt19937 random(35);
    for (int round = 0; round < 150; ++round) {
        const Bytes source = Random(random, random() % 5000);
        const Bytes target = Edited(random, source);
        const Bytes bps = rom::MakeBps(source, target, Hashes());
        ASSERT_EQ(reference::Bps(source, bps), target) << "BPS, round " << round;
        ASSERT_EQ(rom::ApplyPatch(source, bps, Hashes()).target, target) << "BPS, round " << round;
        const Bytes ips = rom::MakeIps(source, target);
        ASSERT_EQ(reference::Ips(source, ips), target) << "IPS, round " << round;
        ASSERT_EQ(rom::ApplyPatch(source, ips, Hashes()).target, target) << "IPS, round " << round;
        const Bytes ups = rom::MakeUps(source, target, Hashes());
        ASSERT_EQ(reference::Ups(source, ups), target) << "UPS, round " << round;
        ASSERT_EQ(rom::ApplyPatch(source, ups, Hashes()).target, target) << "UPS, round " << round;
        if (source != target) {  // either way: the target gives the source back
            ASSERT_EQ(reference::Ups(target, ups), source) << "UPS undone, round " << round;
            ASSERT_EQ(rom::ApplyPatch(target, ups, Hashes()).target, source)
                << "UPS undone, round " << round;
        }
    }
}

// An NES file of `banks` 16 KiB banks, its data random.
Bytes Nes(std::mt19937& random, std::size_t banks = 1) {
    Bytes file = {'N', 'E', 'S', 0x1A, static_cast<std::uint8_t>(banks), 0, 0, 0};
    file.resize(16, 0);
    const Bytes data = Random(random, banks * 0x4000);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

// A patch made for the ROM under another header, or none, is refused as
// what it is, and applied across the header where asked.
TEST(Patch, RefusesAPatchMadeAcrossAHeaderChange) {
    std::mt19937 random(38);
    const Bytes rom = Nes(random);
    const Bytes data(rom.begin() + 16, rom.end());
    Bytes edited = data;
    for (std::size_t i = 0; i < 40; ++i) {
        edited[i] ^= 0x5A;  // the first bytes of PRG-ROM, where a header would be
    }
    const Bytes forData = rom::MakeIps(data, edited);
    Bytes editedRom(rom.begin(), rom.begin() + 16);
    editedRom.insert(editedRom.end(), edited.begin(), edited.end());
    // A patch of the headered ROM that writes its header whole, as many do.
    Bytes blank(16, 0);
    blank.insert(blank.end(), data.begin(), data.end());
    const Bytes forRom = rom::MakeIps(blank, editedRom);
    // The same ROM with a trainer, which the data follows.
    Bytes trained = rom;
    trained[6] |= 0x04U;
    trained.insert(trained.begin() + 16, 512, 0x77);
    Bytes trainedEdited(trained.begin(), trained.begin() + 16 + 512);
    trainedEdited.insert(trainedEdited.end(), edited.begin(), edited.end());
    const std::tuple<const char*, Bytes, Bytes, const char*, Bytes> rows[] = {
        {"an IPS of the data alone, on the headered ROM", rom, forData,
         "breaks the ROM's NES header", editedRom},
        {"an IPS of the headered ROM, on the data alone", data, forRom,
         "writes an NES header into a file that has none", edited},
        {"a BPS of the data alone, on the headered ROM", rom, rom::MakeBps(data, edited, Hashes()),
         "made for this game under another header", editedRom},
        {"an IPS of the data alone, on a ROM with a trainer", trained, forData,
         "breaks the ROM's NES header", trainedEdited},
    };
    for (const auto& [name, file, patch, fault, across] : rows) {
        try {
            rom::ApplyPatch(file, patch, Hashes());
            ADD_FAILURE() << name;
        } catch (const rom::PatchError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find("--across-header"), std::string::npos) << name;
        }
        const rom::Applied applied = rom::ApplyPatch(file, patch, Hashes(), true);
        EXPECT_EQ(applied.target, across) << name;
        EXPECT_FALSE(applied.note.empty()) << name;
    }
    // Metadata that names a header, but not as Quorvane writes it.
    Bytes damaged = rom::MakeBps(rom, editedRom, Hashes());
    const std::string text(damaged.begin(), damaged.end());
    const std::size_t header = text.find("source-header=\"") + 15;
    ASSERT_NE(header, std::string::npos + 15);
    std::fill_n(damaged.begin() + static_cast<std::ptrdiff_t>(header), 32, 'z');
    const std::uint32_t own = Hashes().crc32(damaged.data(), damaged.size() - 4);
    for (int i = 0; i < 4; ++i) {
        damaged[damaged.size() - 4 + i] = static_cast<std::uint8_t>(own >> (8 * i));
    }
    Bytes rewritten = rom;
    rewritten[7] = 0x08;  // NES 2.0's mark, as a tool rewrites it
    EXPECT_THROW(rom::ApplyPatch(rewritten, damaged, Hashes()), rom::PatchError);
    const Bytes shorter = rom::MakeBps(rom, Bytes(rom.begin(), rom.begin() + 10), Hashes());
    EXPECT_THROW(rom::ApplyPatch(rewritten, shorter, Hashes()), rom::PatchError)
        << "a target shorter than a header is not carried";
    EXPECT_EQ(rom::ApplyPatch(rom, damaged, Hashes()).target, editedRom) << "its own ROM";
}

// Damaged and hostile patches, each refused as soon as it shows, with
// nothing allocated for what they only declare.
TEST(Patch, RefusesWhatNoWriterMakes) {
    const Bytes file(1024, 0x11);
    const auto ips = [](Bytes records) {
        Bytes patch = {'P', 'A', 'T', 'C', 'H'};
        patch.insert(patch.end(), records.begin(), records.end());
        return patch;
    };
    // A BPS of 1,024 bytes to 4 GiB, its checksums right: 1024, 2^32 and no
    // metadata as BPS writes numbers, then a TargetRead of what is not there.
    const Bytes huge = Crafted(file, {0x00, 0x87, 0x00, 0x7F, 0x7E, 0x7E, 0x8E, 0x80, 0x80 | 0x7F});
    const std::tuple<const char*, Bytes, const char*> rows[] = {
        {"bytes after EOF that are no length", ips({'E', 'O', 'F', 0, 0, 0x10, 0x0A}),
         "4 bytes follow its EOF"},
        {"a length after EOF past the file's end", ips({'E', 'O', 'F', 0x10, 0, 0}),
         "cuts the file to 1048576 bytes, past the 1024"},
        {"a run that would put the file past 16 MiB",
         ips({0xFF, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 1, 'E', 'O', 'F'}), "reaches past 16 MiB"},
        {"a BPS declaring 4 GiB", huge, "larger than the 256 MiB"},
        {"a UPS for neither file", rom::MakeUps(Bytes(8, 1), Bytes(8, 2), Hashes()),
         "for a file of CRC32"},
    };
    for (const auto& [name, patch, fault] : rows) {
        try {
            rom::ApplyPatch(file, patch, Hashes());
            ADD_FAILURE() << name;
        } catch (const rom::PatchError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
        }
    }
}

// The shortest patches: an empty file to an empty file.
TEST(Patch, EmptyToEmpty) {
    const Bytes empty;
    const Bytes bps = rom::MakeBps(empty, empty, Hashes());
    EXPECT_EQ(bps.size(), 19U);
    EXPECT_EQ(rom::ApplyPatch(empty, bps, Hashes()).target, empty);
    const Bytes ups = rom::MakeUps(empty, empty, Hashes());
    EXPECT_EQ(ups.size(), 18U);
    EXPECT_EQ(rom::ApplyPatch(empty, ups, Hashes()).target, empty);
    EXPECT_EQ(rom::MakeUps(Bytes(100, 7), Bytes(100, 7), Hashes()).size(), 18U) << "no hunk";
}

TEST(Patch, BpsCopiesWhatMoved) {
    std::mt19937 random(7);
    Bytes source(20000);
    for (std::uint8_t& byte : source) {
        byte = static_cast<std::uint8_t>(random());
    }
    Bytes target = source;  // every byte moved
    std::rotate(target.begin(), target.begin() + 100, target.end());
    EXPECT_LT(rom::MakeBps(source, target, Hashes()).size(), 100U);
}

TEST(Patch, BpsIsCarriedAcrossAHeaderChange) {
    Bytes source = {'N', 'E', 'S', 0x1A, 1, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    source.resize(16 + 0x4000, 0x33);
    Bytes target = source;
    target[100] = 0x44;
    const Bytes bps = rom::MakeBps(source, target, Hashes());
    Bytes rewritten = source;
    rewritten[7] = 0x08;  // the same game under a NES 2.0 header
    rewritten[9] = 0x00;
    const rom::Applied applied = rom::ApplyPatch(rewritten, bps, Hashes());
    EXPECT_EQ(Bytes(applied.target.begin(), applied.target.begin() + 16),
              Bytes(rewritten.begin(), rewritten.begin() + 16));
    EXPECT_EQ(Bytes(applied.target.begin() + 16, applied.target.end()),
              Bytes(target.begin() + 16, target.end()));
    EXPECT_NE(applied.note.find("its own header kept"), std::string::npos);
    const Bytes headerless(source.begin() + 16, source.end());
    EXPECT_EQ(rom::ApplyPatch(headerless, bps, Hashes()).target,
              Bytes(target.begin() + 16, target.end()));

    Bytes grown = target;
    grown[4] = 2;  // a patch that changes the header itself
    const Bytes changing = rom::MakeBps(source, grown, Hashes());
    EXPECT_THROW(rom::ApplyPatch(rewritten, changing, Hashes()), rom::PatchError);
}

TEST(Patch, RefusesAPatchForAnotherFileOrDamaged) {
    const Bytes source(1000, 1);
    Bytes target = source;
    target[5] = 2;
    const Bytes bps = rom::MakeBps(source, target, Hashes());
    const Bytes other(1000, 3);
    Bytes damaged = bps;
    damaged[damaged.size() - 20] ^= 0xFFU;
    const std::tuple<const char*, Bytes, Bytes, const char*> rows[] = {
        {"another file", other, bps, "the patch is for a file of CRC32 "},
        {"a damaged patch", source, damaged, "its own CRC32 does not match"},
        {"no patch at all", source, Bytes{'P', 'A', 'T'}, "not a patch"},
        {"an IPS cut short", source, Bytes{'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 5, 1},
         "runs past its end"},
        {"an IPS with no EOF", source, Bytes{'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 1, 1}, "no EOF"},
    };
    for (const auto& [name, file, patch, fault] : rows) {
        try {
            rom::ApplyPatch(file, patch, Hashes());
            ADD_FAILURE() << name;
        } catch (const rom::PatchError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
        }
    }
}

// A BPS with whole checksums whose actions reach outside a file: refused,
// never read past.
TEST(Patch, RefusesActionsOutsideTheFiles) {
    const Bytes source(16, 0x11);
    const auto crafted = [&](std::uint8_t targetSize, Bytes actions) {
        actions.insert(actions.begin(),
                       {0x80 | 16, static_cast<std::uint8_t>(0x80 | targetSize), 0x80});
        return Crafted(source, actions);
    };
    const auto headed = [&](const Bytes& head) { return Crafted(source, head); };
    const std::tuple<const char*, Bytes, const char*> rows[] = {
        {"metadata past the patch's end", headed({0x80 | 16, 0x80 | 16, 0x80 | 100}),
         "runs past its end"},
        {"a source of 256 MiB, as large as may be",
         headed({0x00, 0x7F, 0x7E, 0xFE, 0x80 | 16, 0x80}), "for a file of 268435456 bytes"},
        {"a SourceRead past the source", crafted(20, {0x80 | (19 << 2)}), "runs past its end"},
        {"a TargetRead past the patch", crafted(8, {0x80 | (7 << 2 | 1), 'A'}),
         "runs past its end"},
        {"a SourceCopy from before the source", crafted(4, {0x80 | (3 << 2 | 2), 0x80 | 3}),
         "copies from outside"},
        {"a SourceCopy past the source", crafted(4, {0x80 | (3 << 2 | 2), 0x80 | 28}),
         "copies from outside"},
        {"a TargetCopy of what is not written", crafted(4, {0x80 | (3 << 2 | 3), 0x80}),
         "copies from outside"},
        {"more than the target", crafted(2, {0x80 | (3 << 2)}), "writes past the file's end"},
        {"an action a byte longer than what is left",
         crafted(6, {0x80 | (1 << 2), 0x80 | (4 << 2)}), "writes past the file's end"},
        {"an action as long as what is left", crafted(6, {0x80 | (1 << 2), 0x80 | (3 << 2)}),
         "the patched file's CRC32 is not the 00000000"},
        {"less than the target", crafted(8, {0x80 | (3 << 2)}), "gives 4 bytes of the 8"},
    };
    for (const auto& [name, patch, fault] : rows) {
        try {
            rom::ApplyPatch(source, patch, Hashes());
            ADD_FAILURE() << name;
        } catch (const rom::PatchError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
        }
    }
}

TEST(Patch, IpsAtItsLimits) {
    Bytes source(0x454F50, 0);
    Bytes target = source;
    target[0x454F46] = 1;
    target[0x454F47] = 2;
    const Bytes ips = rom::MakeIps(source, target);
    EXPECT_EQ(ips, (Bytes{'P', 'A', 'T', 'C', 'H', 0x45, 0x4F, 0x45, 0, 3, 0, 1, 2, 'E', 'O', 'F'}))
        << "a record a byte earlier than $454F46";
    EXPECT_EQ(rom::ApplyPatch(source, ips, Hashes()).target, target);
    Bytes run = source;  // a run from $454F46 on: its record begins a byte earlier too
    std::fill(run.begin() + 0x454F46, run.begin() + 0x454F46 + 9, 7);
    const Bytes rle = rom::MakeIps(source, run);
    EXPECT_EQ(std::search(rle.begin(), rle.end(), kEof.begin(), kEof.end()), rle.end() - 3);
    EXPECT_EQ(rom::ApplyPatch(source, rle, Hashes()).target, run);
    const Bytes shorter(source.begin(), source.begin() + 0x1000);
    const Bytes cut = rom::MakeIps(source, shorter);
    EXPECT_EQ(Bytes(cut.end() - 3, cut.end()), (Bytes{0x00, 0x10, 0x00}))
        << "the truncation length";
    EXPECT_EQ(rom::ApplyPatch(source, cut, Hashes()).target, shorter);
    Bytes runs(0x20000, 0);
    std::fill(runs.begin() + 5, runs.end(), 0x77);  // a run longer than a record holds
    const Bytes long_ = rom::MakeIps(Bytes(0x20000, 0), runs);
    EXPECT_LT(long_.size(), 40U);
    EXPECT_EQ(rom::ApplyPatch(Bytes(0x20000, 0), long_, Hashes()).target, runs);
    EXPECT_THROW(rom::MakeIps(Bytes((1U << 24U) + 1, 0), Bytes(10, 0)), rom::PatchError);
    const Bytes largest(1U << 24U, 0);  // 16 MiB exactly is within reach
    EXPECT_EQ(rom::ApplyPatch(largest, rom::MakeIps(largest, Bytes(10, 0)), Hashes()).target,
              Bytes(10, 0));
    EXPECT_THROW(rom::ApplyPatch(Bytes((1U << 24U) + 1, 0), ips, Hashes()), rom::PatchError);
}

}  // namespace
