// Which ANSI code page Windows gives a language: the code page of its
// "language for non-Unicode programs", from Windows' own locale data.
#include <algorithm>
#include <string>
#include <utility>

#include "code_page.h"

namespace conversions {
namespace {

// Each code page with the languages (ISO 639 codes) Windows gives it. Every
// other language is 1252; those written in two scripts are listed by their
// default one, and the other is InOtherScript's.
constexpr std::pair<unsigned, std::string_view> kLanguagesByCodePage[] = {
    {874, "th"},
    {932, "ja"},
    {936, "zh"},
    {949, "ko"},
    {1250, "bs cs hr hu pl ro sk sl sq tk"},
    {1251, "ba be bg kk ky mk mn ru sah sr tg tt uk"},
    {1253, "el"},
    {1254, "az tr uz"},
    {1255, "he iw"},
    {1256, "ar fa prs ug ur"},
    {1257, "et lt lv"},
    {1258, "vi"},
};

// A language's name in parts: a POSIX locale, language[_territory]
// [.codeset][@modifier], or a BCP 47 tag, language[-script][-region]...
struct Parts {
    std::string language, script, region, modifier;
};

Parts Split(std::string_view name) {
    std::string lower;
    for (const char c : name) {
        lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    Parts parts;
    const std::size_t at = lower.find('@');
    if (at != std::string::npos) {
        parts.modifier = lower.substr(at + 1);
    }
    lower = lower.substr(0, std::min(at, lower.find('.')));
    std::size_t start = 0;
    for (std::size_t index = 0; start <= lower.size(); ++index) {
        const std::size_t end = std::min(lower.find_first_of("_-", start), lower.size());
        const std::string part = lower.substr(start, end - start);
        if (index == 0) {
            parts.language = part;
        } else if (part.size() == 4) {
            parts.script = part;
        } else if (part.size() == 2 || part.size() == 3) {
            parts.region = part;
        }
        start = end + 1;
    }
    return parts;
}

// The code page of a language written in two scripts, where its name puts
// it in the one that is not its default; 0 for any other. Chinese is
// simplified but for Taiwan, Hong Kong and Macao; Serbian Cyrillic, as its
// locales are; Azerbaijani, Bosnian and Uzbek Latin.
unsigned InOtherScript(const Parts& parts) {
    if (parts.language == "zh") {
        const bool traditionalRegion =
            parts.region == "tw" || parts.region == "hk" || parts.region == "mo";
        return parts.script == "hant" || (parts.script != "hans" && traditionalRegion) ? 950 : 0;
    }
    if (parts.language == "sr") {
        return parts.script == "latn" || parts.modifier == "latin" ? 1250 : 0;
    }
    const bool cyrillic = parts.script == "cyrl" || parts.modifier == "cyrillic";
    return cyrillic && (parts.language == "az" || parts.language == "bs" || parts.language == "uz")
               ? 1251
               : 0;
}

}  // namespace

unsigned AnsiCodePageOfLanguage(std::string_view language) {
    const Parts parts = Split(language);
    if (const unsigned other = InOtherScript(parts)) {
        return other;
    }
    // A code alone, between spaces, is one of a list's.
    const std::string listed = ' ' + parts.language + ' ';
    for (const auto& [codePage, languages] : kLanguagesByCodePage) {
        if (parts.language.find(' ') == std::string::npos &&
            (' ' + std::string(languages) + ' ').find(listed) != std::string::npos) {
            return codePage;
        }
    }
    return 1252;
}

}  // namespace conversions
