// The code page Windows gives the user's language, on a system that has no
// 8-bit code page of its own (Linux and the like): the language from the
// environment, the codes from the C library's converter (iconv).
#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "code_page.h"

namespace conversions {
namespace {

// The user's language for character types, as the C library takes it from
// the environment (LC_ALL, then LC_CTYPE, then LANG), read from the names
// themselves: the locale need not be installed. Gives the setting that
// chose it ("LANG=ru_RU.UTF-8"), and the language.
std::pair<std::string, std::string_view> Language() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return {std::string(variable) + '=' + value, value};
        }
    }
    return {};
}

// The code unit each of a code page's codes decodes to by the C library's
// converter, in the order of CodesOf (U+FFFD where it decodes to none);
// nothing where the converter has no such code page.
std::u16string Decodings(unsigned codePage) {
    const std::string name = "CP" + std::to_string(codePage);
    const iconv_t decoder = iconv_open("UTF-16LE", name.c_str());
    if (reinterpret_cast<std::intptr_t>(decoder) == -1) {  // no such code page
        return {};
    }
    std::u16string decodings;
    for (const std::uint16_t code : CodesOf(codePage)) {
        std::array<char, 2> in = {static_cast<char>(code >> 8U), static_cast<char>(code)};
        std::array<unsigned char, 8> out{};
        char* inAt = code > 0xFF ? in.data() : in.data() + 1;
        auto* outAt = reinterpret_cast<char*>(out.data());
        std::size_t inLeft = code > 0xFF ? 2 : 1;
        std::size_t outLeft = out.size();
        // The whole code, and whatever a converter holds back at its end.
        const bool decoded = iconv(decoder, &inAt, &inLeft, &outAt, &outLeft) == 0 &&
                             iconv(decoder, nullptr, nullptr, &outAt, &outLeft) == 0;
        iconv(decoder, nullptr, nullptr, nullptr, nullptr);
        const bool oneUnit = decoded && inLeft == 0 && outLeft == out.size() - 2;
        decodings += oneUnit ? static_cast<char16_t>(out[0] | out[1] << 8U) : u'\uFFFD';
    }
    iconv_close(decoder);
    return decodings;
}

// Makes the table of the code page asked for, or of Windows-1252 where the C
// library has no converter for it; either way the choice records which was
// wanted.
void Use(CodePageChoice choice) {
    const unsigned wanted = choice.codePage;
    const std::u16string decodings = wanted == 1252 ? Windows1252Decodings() : Decodings(wanted);
    choice.wanted = wanted;
    if (decodings.empty()) {
        std::fprintf(stderr,
                     "quorvane: this system has no converter for code page %u; "
                     "using Windows-1252 instead\n",
                     wanted);
        choice.codePage = 1252;
    }
    InUse().table =
        MakeCodeTable(choice.codePage, decodings.empty() ? Windows1252Decodings() : decodings);
    InUse().choice = std::move(choice);
}

const TableInUse& Made() {
    if (InUse().table.empty()) {
        auto [setting, language] = Language();
        Use({AnsiCodePageOfLanguage(language), CodePageChoice::By::Environment,
             std::move(setting)});
    }
    return InUse();
}

}  // namespace

void ChooseCodePage(unsigned codePage) {
    Use({codePage, CodePageChoice::By::Choice, "--code-page " + std::to_string(codePage)});
}

CodePageChoice CodePageInUse() { return Made().choice; }

std::optional<std::int16_t> SystemCodePageCode(char16_t unit) { return CodeIn(Made().table, unit); }

}  // namespace conversions
