#include "code_page_description.h"

#include <string_view>
#include <utility>

namespace {

// Each code page's usual name.
constexpr std::pair<unsigned, std::string_view> kNames[] = {
    {874, "Thai"},
    {932, "Japanese"},
    {936, "Simplified Chinese"},
    {949, "Korean"},
    {950, "Traditional Chinese"},
    {1250, "Central European"},
    {1251, "Cyrillic"},
    {1252, "Western European"},
    {1253, "Greek"},
    {1254, "Turkish"},
    {1255, "Hebrew"},
    {1256, "Arabic"},
    {1257, "Baltic"},
    {1258, "Vietnamese"},
};

std::string Name(unsigned codePage) {
    for (const auto& [number, name] : kNames) {
        if (number == codePage) {
            return "Windows code page " + std::to_string(codePage) + " (" + std::string(name) + ')';
        }
    }
    return "code page " + std::to_string(codePage);
}

std::string Description(const conversions::CodePageChoice& choice) {
    using By = conversions::CodePageChoice::By;
    const bool had = choice.wanted == choice.codePage;
    const std::string& setting = choice.setting;
    const std::string wanted = std::to_string(choice.wanted);
    std::string text = "Codes of " + Name(choice.codePage);
    switch (choice.by) {
        case By::System:
            text += had ? ", the system's code page for programs that are not Unicode"
                        : ": the system's code page, " + wanted + ", is not an 8-bit code page";
            break;
        case By::Environment:
            text += setting.empty() ? ": no language is set in LC_ALL, LC_CTYPE or LANG"
                    : had           ? ", from " + setting
                                    : ": " + setting + " asks for code page " + wanted +
                                ", and this system has no converter for it";
            break;
        case By::Browser:
            text += had ? ", from the browser's language, " + setting
                        : ": the browser's language, " + setting + ", asks for code page " +
                              wanted + ", and this browser has no decoder for it";
            break;
        case By::Choice:
            text += ", chosen with " + setting;
            break;
    }
    return text;
}

}  // namespace

std::u16string CodePageDescription(const conversions::CodePageChoice& choice) {
    const std::string text = Description(choice);
    std::u16string wide;
    for (const char c : text) {  // ASCII, but for a setting's own letters
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return wide;
}
