// Which ANSI code page Windows gives a language: the code page of its
// "language for non-Unicode programs", from Windows' own locale data.
#include <algorithm>
#include <iterator>
#include <string>

#include "code_page.h"

namespace conversions {
namespace {

struct Language {
    std::string_view code;  // ISO 639, lower case
    unsigned codePage;
    unsigned otherScript;  // for a language written in two scripts, the code
                           // page of the one that is not its default; else 0
};

// By code, for a binary search. Every language not here is 1252.
constexpr Language kLanguages[] = {
    {"ar", 1256, 0},    {"az", 1254, 1251}, {"ba", 1251, 0}, {"be", 1251, 0},  {"bg", 1251, 0},
    {"bs", 1250, 1251}, {"cs", 1250, 0},    {"el", 1253, 0}, {"et", 1257, 0},  {"fa", 1256, 0},
    {"he", 1255, 0},    {"hr", 1250, 0},    {"hu", 1250, 0}, {"iw", 1255, 0},  {"ja", 932, 0},
    {"kk", 1251, 0},    {"ko", 949, 0},     {"ky", 1251, 0}, {"lt", 1257, 0},  {"lv", 1257, 0},
    {"mk", 1251, 0},    {"mn", 1251, 0},    {"pl", 1250, 0}, {"prs", 1256, 0}, {"ro", 1250, 0},
    {"ru", 1251, 0},    {"sah", 1251, 0},   {"sk", 1250, 0}, {"sl", 1250, 0},  {"sq", 1250, 0},
    {"sr", 1251, 1250}, {"tg", 1251, 0},    {"th", 874, 0},  {"tk", 1250, 0},  {"tr", 1254, 0},
    {"tt", 1251, 0},    {"ug", 1256, 0},    {"uk", 1251, 0}, {"ur", 1256, 0},  {"uz", 1254, 1251},
    {"vi", 1258, 0},    {"zh", 936, 950},
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

// Whether a language written in two scripts is, by its name, in the one
// that is not its default: Chinese is simplified but for Taiwan, Hong Kong
// and Macao; Serbian Cyrillic, as its locales are; the others Latin.
bool InOtherScript(const Parts& parts) {
    if (parts.language == "zh") {
        return parts.script == "hant" ||
               (parts.script != "hans" &&
                (parts.region == "tw" || parts.region == "hk" || parts.region == "mo"));
    }
    if (parts.language == "sr") {
        return parts.script == "latn" || parts.modifier == "latin";
    }
    return parts.script == "cyrl" || parts.modifier == "cyrillic";
}

}  // namespace

unsigned AnsiCodePageOfLanguage(std::string_view name) {
    const Parts parts = Split(name);
    const auto* found = std::lower_bound(
        std::begin(kLanguages), std::end(kLanguages), parts.language,
        [](const Language& entry, const std::string& code) { return entry.code < code; });
    if (found == std::end(kLanguages) || found->code != parts.language) {
        return 1252;
    }
    return found->otherScript != 0 && InOtherScript(parts) ? found->otherScript : found->codePage;
}

}  // namespace conversions
