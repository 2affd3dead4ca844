#include "codes.h"

#include <cstdint>
#include <unordered_map>

#include "answers.h"
#include "conversions/conversions.h"
#include "utf8.h"

namespace {

// Each code of the code page in use and the first code unit that has it, so
// that ASCII comes before its full-width stand-ins.
const std::unordered_map<std::int16_t, char16_t>& CharacterOf() {
    static const auto table = [] {
        std::unordered_map<std::int16_t, char16_t> characters;
        for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
            if (unit < 0xD800 || unit > 0xDFFF) {
                characters.emplace(conversions::AnsiCode(static_cast<char16_t>(unit)),
                                   static_cast<char16_t>(unit));
            }
        }
        return characters;
    }();
    return table;
}

bool HasNoCode(char16_t unit) { return unit != u'?' && conversions::AnsiCode(unit) == '?'; }

}  // namespace

std::string TextOfCodes(std::u16string_view codes) {
    std::u16string text;
    std::size_t column = 1;
    for (std::size_t at = 0; at < codes.size();) {
        if (codes[at] == u' ') {
            ++at, ++column;
            continue;
        }
        std::size_t end = at;
        std::uint32_t value = 0;
        for (; end < codes.size() && codes[end] != u' '; ++end) {
            const char16_t c = codes[end];
            const unsigned lower = c | 0x20U;
            const bool digit = c >= u'0' && c <= u'9';
            if (!digit && (lower < u'a' || lower > u'f')) {
                throw Refused("'" + EncodeUtf8(codes.substr(end, 1)) + "' at column " +
                              std::to_string(column + end - at) + " is not a hex digit");
            }
            value = value << 4U | (digit ? c - u'0' : lower - u'a' + 10);
        }
        if (end - at != 2 && end - at != 4) {
            throw Refused("the code at column " + std::to_string(column) +
                          " is not two or four hex digits");
        }
        // Four digits are a signed 16-bit value, as the window writes a code below "0".
        const int less48 =
            end - at == 4 ? static_cast<std::int16_t>(value) : static_cast<int>(value);
        const int code = less48 + 48;
        const auto found = CharacterOf().find(static_cast<std::int16_t>(code));
        if (code > 0xFF || code < INT16_MIN || found == CharacterOf().end()) {
            throw Refused("the code at column " + std::to_string(column) +
                          " stands for no character in code page " +
                          std::to_string(conversions::CodePageInUse().codePage));
        }
        text += found->second;
        column += end - at;
        at = end;
    }
    return EncodeUtf8(text);
}

std::string NoCodeWarning(std::u16string_view word) {
    std::u16string missing;
    for (std::size_t at = 0; at < word.size(); ++at) {
        const bool pair = word[at] >= 0xD800 && word[at] < 0xDC00 && at + 1 < word.size();
        if (HasNoCode(word[at]) &&
            missing.find(word.substr(at, pair ? 2 : 1)) == std::u16string::npos) {
            missing += (missing.empty() ? u"" : u" ");
            missing += word.substr(at, pair ? 2 : 1);
        }
        at += pair ? 1 : 0;
    }
    if (missing.empty()) {
        return {};
    }
    const conversions::CodePageChoice choice = conversions::CodePageInUse();
    return EncodeUtf8(missing) + ": no code in Windows code page " +
           std::to_string(choice.codePage) +
           ", so each has the code of ?; choose another with --code-page N, or with LANG";
}
