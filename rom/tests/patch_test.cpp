// Patches: made then applied gives the target byte for byte, in both
// formats, for random pairs; a BPS carried across a header change; IPS at
// its limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "plain_hashes.h"
#include "rom/patch.h"

namespace {

using rom::Bytes;

const rom::Hasher& Hashes() {
    static const PlainHashes hashes;
    return hashes;
}

const Bytes kEof = {'E', 'O', 'F'};  // what a record at $454F46 would read as

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
        ASSERT_EQ(rom::ApplyPatch(source, bps, Hashes()).target, target) << "BPS, round " << round;
        const Bytes ips = rom::MakeIps(source, target);
        ASSERT_EQ(rom::ApplyPatch(source, ips, Hashes()).target, target) << "IPS, round " << round;
    }
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
    const auto crafted = [&](std::uint8_t targetSize, const Bytes& actions) {
        Bytes patch = {'B', 'P', 'S', '1', 0x80 | 16, static_cast<std::uint8_t>(0x80 | targetSize),
                       0x80};
        patch.insert(patch.end(), actions.begin(), actions.end());
        const auto put = [&](std::uint32_t value) {
            for (unsigned shift = 0; shift < 32; shift += 8) {
                patch.push_back(static_cast<std::uint8_t>(value >> shift));
            }
        };
        put(Hashes().crc32(source.data(), source.size()));
        put(0);
        put(Hashes().crc32(patch.data(), patch.size()));
        return patch;
    };
    const std::tuple<const char*, Bytes, const char*> rows[] = {
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
