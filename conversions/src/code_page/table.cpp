// A code page's table, made from what each of its codes decodes to: the way
// a system with a decoder but no Windows encoder gets Windows' codes.
#include <string>

#include "code_page.h"

namespace conversions {
namespace {

constexpr char16_t kNoUnit = u'\uFFFD';

bool IsDoubleByte(unsigned codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// Whether Windows' encoder takes a code only for a unit that no other code
// decodes to: Japanese's NEC-selected IBM extensions (lead bytes ED and EE)
// give way to IBM's own (FA to FC).
bool GivesWay(unsigned codePage, std::uint16_t code) {
    return codePage == 932 && (code >> 8U == 0xED || code >> 8U == 0xEE);
}

// A double-byte code page's area for characters users define themselves,
// which Windows maps to the Private Use Area in order: lead bytes first to
// last, each with trail bytes first to last, from firstUnit on.
struct UserArea {
    unsigned codePage, firstLead, lastLead, firstTrail, lastTrail;
    char16_t firstUnit;
};
constexpr UserArea kUserAreas[] = {
    {932, 0xF0, 0xF9, 0x40, 0xFC, u'\uE000'}, {936, 0xAA, 0xAF, 0xA1, 0xFE, u'\uE000'},
    {936, 0xF8, 0xFE, 0xA1, 0xFE, u'\uE234'}, {936, 0xA1, 0xA7, 0x40, 0xA0, u'\uE4C6'},
    {949, 0xC9, 0xC9, 0xA1, 0xFE, u'\uE000'}, {949, 0xFE, 0xFE, 0xA1, 0xFE, u'\uE05E'},
    {950, 0xFA, 0xFE, 0x40, 0xFE, u'\uE000'}, {950, 0x8E, 0xA0, 0x40, 0xFE, u'\uE311'},
    {950, 0x81, 0x8D, 0x40, 0xFE, u'\uEEB8'}, {950, 0xC6, 0xC6, 0xA1, 0xFE, u'\uF6B1'},
    {950, 0xC7, 0xC8, 0x40, 0xFE, u'\uF70F'},
};

// Whether a byte can follow a lead byte: never 0x7F, and in 950 nothing from
// 0x7F to 0xA0.
bool IsTrail(unsigned codePage, unsigned byte) {
    return byte != 0x7F && (codePage != 950 || byte < 0x7F || byte > 0xA0);
}

// The place of a double-byte code in the order of CodesOf.
std::size_t IndexOf(unsigned lead, unsigned trail) {
    return 0x80 + (lead - 0x81) * (0xFF - 0x40) + (trail - 0x40);
}

}  // namespace

std::string DecoderName(unsigned codePage) {
    switch (codePage) {
        case 932:
            return "shift_jis";
        case 936:
            return "gbk";
        case 949:
            return "euc-kr";
        case 950:
            return "big5";
        default:
            return "windows-" + std::to_string(codePage);
    }
}

std::string CodeListing(unsigned codePage) {
    const std::vector<std::uint16_t> codes = CodesOf(codePage);
    // Written in place: in a page's WebAssembly, a byte appended at a time
    // takes several times as long.
    std::string listing(codes.size() * 3, '\n');
    char* at = listing.data();
    for (const std::uint16_t code : codes) {
        if (code > 0xFF) {
            *at++ = static_cast<char>(code >> 8U);
        }
        *at++ = static_cast<char>(code & 0xFFU);
        *at++ = '\n';
    }
    listing.resize(static_cast<std::size_t>(at - listing.data()));
    return listing;
}

std::vector<std::uint16_t> CodesOf(unsigned codePage) {
    // The codes are written in place: in a page's WebAssembly, that is
    // several times as fast as a call for each code.
    std::vector<std::uint16_t> codes(0x80 + (IsDoubleByte(codePage) ? 0x7E * (0xFF - 0x40) : 0));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        codes[i] = static_cast<std::uint16_t>(i < 0x80 ? 0x80 + i
                                                       : (0x81 + (i - 0x80) / (0xFF - 0x40)) << 8U |
                                                             (0x40 + (i - 0x80) % (0xFF - 0x40)));
    }
    return codes;
}

CodeTable MakeCodeTable(unsigned codePage, std::u16string_view decodings) {
    const std::vector<std::uint16_t> codes = CodesOf(codePage);
    std::u16string units(decodings.substr(0, codes.size()));
    // A single-byte code page's byte from 0x80 to 0x9F that decodes to
    // nothing stands for the control code of its value, as in Windows.
    for (std::size_t i = 0; !IsDoubleByte(codePage) && i < units.size() && i < 0x20; ++i) {
        units[i] = units[i] == kNoUnit ? static_cast<char16_t>(codes[i]) : units[i];
    }
    for (const UserArea& area : kUserAreas) {
        char16_t unit = area.firstUnit;
        for (unsigned lead = area.firstLead; area.codePage == codePage && lead <= area.lastLead;
             ++lead) {
            for (unsigned trail = area.firstTrail; trail <= area.lastTrail; ++trail) {
                if (IsTrail(codePage, trail) && IndexOf(lead, trail) < units.size()) {
                    units[IndexOf(lead, trail)] = unit++;
                }
            }
        }
    }
    CodeTable table(0x10000, kNoCode);
    // Where two codes decode to one unit, Windows' encoder gives the first,
    // but a code that gives way yields to a later one that does not.
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit < 0x80 || unit == kNoUnit) {
            continue;
        }
        std::int32_t& held = table[unit];
        if (held == kNoCode || (GivesWay(codePage, static_cast<std::uint16_t>(held)) &&
                                !GivesWay(codePage, codes[i]))) {
            held = static_cast<std::int16_t>(codes[i]);
        }
    }
    ApplyWindowsCorrections(codePage, table);
    return table;
}

std::optional<std::int16_t> CodeIn(const CodeTable& table, char16_t unit) {
    const std::int32_t code = table[unit];
    return code == kNoCode ? std::nullopt : std::optional(static_cast<std::int16_t>(code));
}

}  // namespace conversions
