// The page's way into the conversions and the window's rules, compiled to
// WebAssembly: plain C functions over the module's memory. The page writes a
// box's text, as the UTF-16 code units the box holds, where quorvane_input
// says, calls a tool, and reads the reply, in UTF-8 (the quickest text for a
// page to read), where quorvane_reply says.
#include <cstdint>
#include <optional>
#include <string>

#include "caption_colours.h"
#include "code_page.h"
#include "conversions/conversions.h"
#include "error_messages.h"
#include "pointer_description.h"

namespace {

std::u16string input;  // the text handed in
std::string reply;     // a tool's result, or its error's text, U+0000 and hint

// A text of the window's rules in UTF-8, unit by unit: those texts are all
// of the Basic Multilingual Plane.
std::string Utf8(const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) {
        if (unit < 0x80) {
            bytes += static_cast<char>(unit);
        } else if (unit < 0x800) {
            bytes += {static_cast<char>(0xC0 | unit >> 6), static_cast<char>(0x80 | (unit & 0x3F))};
        } else {
            bytes +=
                {static_cast<char>(0xE0 | unit >> 12), static_cast<char>(0x80 | (unit >> 6 & 0x3F)),
                 static_cast<char>(0x80 | (unit & 0x3F))};
        }
    }
    return bytes;
}

// A tool's result as the reply: 1, or 0 where it failed and the reply is the
// error's text and hint.
template <typename Work>
int Reply(Tool tool, Work&& work) {
    try {
        reply = work();
        return 1;
    } catch (...) {
        const ErrorMessage error = DescribeCurrentError(tool);
        reply = Utf8(error.text) + '\0' + Utf8(error.hint);
        return 0;
    }
}

Rgb ToRgb(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour >> 16U), static_cast<std::uint8_t>(colour >> 8U),
            static_cast<std::uint8_t>(colour)};
}

}  // namespace

extern "C" {

// Room for `units` code units of input, where the page writes them; none
// where memory runs out, with that error's text and hint as the reply.
char16_t* quorvane_input(std::uint32_t units) {
    const int room = Reply(Tool::WordToHex, [units] {
        input.resize(units);
        return std::string();
    });
    return room != 0 ? input.data() : nullptr;
}

const char* quorvane_reply() { return reply.data(); }
std::uint32_t quorvane_reply_length() { return static_cast<std::uint32_t>(reply.size()); }

// Calculate: the pointer for the offset in the input.
int quorvane_pointer(int type1Selected, int type2Selected) {
    return Reply(Tool::Pointer, [&] {
        return conversions::ComputePointerText(input, type1Selected != 0, type2Selected != 0);
    });
}

// CALCULATE: the codes of the word in the input.
int quorvane_word_to_hex() {
    return Reply(Tool::WordToHex, [] { return conversions::StringToHex(input); });
}

// The tool tip of a pointer box holding the input.
void quorvane_describe_pointer() { reply = Utf8(PointerDescription(input)); }

// The code page Windows gives the language in the input (a BCP 47 tag, as
// browsers name their reader's language), for the page to decode each of its
// codes with the browser's decoder: the reply is the decoder's name, then
// each code's bytes, a line each.
unsigned quorvane_code_page() {
    const std::string language(input.begin(), input.end());
    const unsigned codePage = conversions::AnsiCodePageOfLanguage(language);
    switch (codePage) {
        case 932:
            reply = "shift_jis";
            break;
        case 936:
            reply = "gbk";
            break;
        case 949:
            reply = "euc-kr";
            break;
        case 950:
            reply = "big5";
            break;
        default:
            reply = "windows-" + std::to_string(codePage);
    }
    // Written in place, as a page calls no function per byte the quicker.
    const std::vector<std::uint16_t> codes = conversions::CodesOf(codePage);
    std::size_t at = reply.size();
    reply.resize(at + codes.size() * 3 + 1);
    for (const std::uint16_t code : codes) {
        reply[at++] = '\n';
        if (code > 0xFF) {
            reply[at++] = static_cast<char>(code >> 8U);
        }
        reply[at++] = static_cast<char>(code & 0xFFU);
    }
    reply[at++] = '\n';
    reply.resize(at);
    return codePage;
}

// The input holds `length` bytes of UTF-8: what each code of the code page
// decodes to, in the order of the reply above, a line each. A line of one
// code unit gives the code's unit, any other line (U+FFFD, two characters, a
// character beyond the Basic Multilingual Plane) none. The core's codes from
// now on.
void quorvane_use_code_page(unsigned codePage, std::uint32_t length) {
    const std::string_view text(reinterpret_cast<const char*>(input.data()), length);
    std::u16string decodings(text.size(), u'\uFFFD');  // filled in place, as the quicker
    std::size_t count = 0;
    for (std::size_t start = 0, end = text.find('\n'); end != std::string_view::npos;
         start = end + 1, end = text.find('\n', start)) {
        const auto byte = [&text, start](std::size_t at) {
            return static_cast<unsigned>(static_cast<unsigned char>(text[start + at]));
        };
        const std::size_t size = end - start;
        unsigned unit = 0xFFFD;
        if (size == 1 && byte(0) < 0x80) {
            unit = byte(0);
        } else if (size == 2 && (byte(0) & 0xE0U) == 0xC0U) {
            unit = (byte(0) & 0x1FU) << 6U | (byte(1) & 0x3FU);
        } else if (size == 3 && (byte(0) & 0xF0U) == 0xE0U) {
            unit = (byte(0) & 0x0FU) << 12U | (byte(1) & 0x3FU) << 6U | (byte(2) & 0x3FU);
        }
        decodings[count++] = static_cast<char16_t>(unit);
    }
    decodings.resize(count);
    conversions::UseCodePage(codePage, decodings);
}

// The window's colours on a desktop whose colour 19 is `systemColour19`
// (0xRRGGBB, or -1 where it has none) and whose text is `windowText`: the
// reply is its background, text and line, a line each, in CSS:
// "rgb(216 228 248)\nrgb(0 0 0)\nrgb(0 0 0)\n".
void quorvane_caption_colours(std::int32_t systemColour19, std::uint32_t windowText) {
    const std::optional<Rgb> colour19 =
        systemColour19 < 0 ? std::nullopt
                           : std::optional(ToRgb(static_cast<std::uint32_t>(systemColour19)));
    const CaptionColours chosen = ChooseCaptionColours(colour19, ToRgb(windowText));
    reply.clear();
    for (const Rgb& colour : {chosen.background, chosen.text, chosen.line}) {
        reply += "rgb(" + std::to_string(colour.red) + ' ' + std::to_string(colour.green) + ' ' +
                 std::to_string(colour.blue) + ")\n";
    }
}

}  // extern "C"
