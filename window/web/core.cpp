// The page's way into the conversions and the window's rules, compiled to
// WebAssembly: plain C functions over the module's memory, and no rule of
// their own. The page writes a box's text, as the UTF-16 code units the box
// holds, where quorvane_input says, and calls a function. A tool's result,
// which is ASCII, it reads as the core's own bytes where quorvane_result
// says; every other text, in UTF-16, where quorvane_reply says. A failed
// tool's error has two replies, its text and its hint.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "caption_colours.h"
#include "code_page_description.h"
#include "conversions/conversions.h"
#include "error_messages.h"
#include "pointer_description.h"

namespace {

std::u16string input;    // the text handed in
std::string result;      // a tool's result: hex digits and spaces
std::u16string reply;    // a text of the window's rules, or a tool's error
std::u16string hint;     // the error's hint
std::string listing;     // a code page's codes, as bytes
CaptionColours colours;  // the colours chosen last

// A tool's result: 1, or 0 where it failed and the reply and hint are its
// error's.
template <typename Work>
int Reply(Tool tool, Work&& work) {
    try {
        result = work();
        return 1;
    } catch (...) {
        ErrorMessage error = DescribeCurrentError(tool);
        reply = std::move(error.text);
        hint = std::move(error.hint);
        return 0;
    }
}

}  // namespace

extern "C" {

// Room for `units` code units of input, where the page writes them; none
// where memory runs out, with that error as the reply.
char16_t* quorvane_input(std::uint32_t units) {
    const int room = Reply(Tool::WordToHex, [units] {
        input.resize(units);
        return std::string();
    });
    return room != 0 ? input.data() : nullptr;
}

// A tool's result is ASCII, and comes as the core's own bytes: the browser
// makes a string of one byte a character from them, which it lays out in a
// box a fifth the quicker than one of UTF-16 (a long word's codes).
const char* quorvane_result() { return result.data(); }
std::uint32_t quorvane_result_length() { return static_cast<std::uint32_t>(result.size()); }
const char16_t* quorvane_reply() { return reply.data(); }
std::uint32_t quorvane_reply_length() { return static_cast<std::uint32_t>(reply.size()); }
const char16_t* quorvane_hint() { return hint.data(); }
std::uint32_t quorvane_hint_length() { return static_cast<std::uint32_t>(hint.size()); }

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

// The tool tip of a pointer box that holds the input.
void quorvane_describe_pointer() { reply = PointerDescription(input); }

// The code page Windows gives the language in the input, a BCP 47 tag as
// browsers name their reader's language.
unsigned quorvane_code_page() {
    return conversions::AnsiCodePageOfLanguage(std::string(input.begin(), input.end()));
}

// The hex value box's tool tip, as the reply, in a browser whose language,
// in the input, asks for code page `wanted`, of which the page has
// `codePage`: `wanted`, or 1252 where the browser has no decoder for it.
void quorvane_describe_code_page(unsigned codePage, unsigned wanted) {
    reply = CodePageDescription({codePage, conversions::CodePageChoice::By::Browser,
                                 std::string(input.begin(), input.end()), wanted});
}

// The name of the browser's decoder for a code page, as the reply.
void quorvane_decoder_name(unsigned codePage) {
    const std::string name = conversions::DecoderName(codePage);  // ASCII
    reply.assign(name.begin(), name.end());
}

// A code page's codes, for the browser's decoder: their bytes, and how many.
const char* quorvane_code_listing(unsigned codePage) {
    listing = conversions::CodeListing(codePage);
    return listing.data();
}
std::uint32_t quorvane_code_listing_length() { return static_cast<std::uint32_t>(listing.size()); }

// The code page's codes from now on, from what its listing decodes to, in
// the input.
void quorvane_use_code_page(unsigned codePage) { conversions::UseCodePage(codePage, input); }

// The window's colours on a desktop whose text is `windowText`, 0xRRGGBB (a
// browser shows a page no colour 19 of its desktop); then each of them,
// 0 for the background, 1 the text and 2 the line, as 0xRRGGBB.
void quorvane_caption_colours(std::uint32_t windowText) {
    colours = ChooseCaptionColours(std::nullopt, UnpackedRgb(windowText));
}
std::uint32_t quorvane_caption_colour(int which) {
    return PackedRgb(which == 0 ? colours.background : which == 1 ? colours.text : colours.line);
}

}  // extern "C"
