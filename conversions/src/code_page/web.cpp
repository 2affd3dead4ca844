// The code page of the reader's language in a browser, which decodes code
// pages but cannot encode them: the page hands in what each code of the code
// page decodes to, once, and Windows-1252 stands until it does.
#include "code_page.h"

namespace conversions {
namespace {

CodeTable& Table() {
    static CodeTable table;  // empty until the page hands one in, or a code is needed
    return table;
}

}  // namespace

// Where the browsers' decoders hold characters that Windows' code pages lack:
// 936's GB18030 (the standard that followed GBK) and 950's Big5 with Hong
// Kong's supplement.
void UseCodePage(unsigned codePage, std::u16string_view decodedListing) {
    static const std::vector<Correction> corrections = {
        {936, 0x01F9, kNoCode, 1},  {936, 0x1E3F, kNoCode, 1},  {936, 0x2E81, kNoCode, 1},
        {936, 0x2E84, kNoCode, 1},  {936, 0x2E88, kNoCode, 1},  {936, 0x2E8B, kNoCode, 2},
        {936, 0x2E97, kNoCode, 1},  {936, 0x2EA7, kNoCode, 1},  {936, 0x2EAA, kNoCode, 1},
        {936, 0x2EAE, kNoCode, 1},  {936, 0x2EB3, kNoCode, 1},  {936, 0x2EB6, kNoCode, 2},
        {936, 0x2EBB, kNoCode, 1},  {936, 0x2ECA, kNoCode, 1},  {936, 0x2FF0, kNoCode, 12},
        {936, 0x303E, kNoCode, 1},  {936, 0x3447, kNoCode, 1},  {936, 0x3473, kNoCode, 1},
        {936, 0x359E, kNoCode, 1},  {936, 0x360E, kNoCode, 1},  {936, 0x361A, kNoCode, 1},
        {936, 0x3918, kNoCode, 1},  {936, 0x396E, kNoCode, 1},  {936, 0x39CF, kNoCode, 2},
        {936, 0x39DF, kNoCode, 1},  {936, 0x3A73, kNoCode, 1},  {936, 0x3B4E, kNoCode, 1},
        {936, 0x3C6E, kNoCode, 1},  {936, 0x3CE0, kNoCode, 1},  {936, 0x4056, kNoCode, 1},
        {936, 0x415F, kNoCode, 1},  {936, 0x4337, kNoCode, 1},  {936, 0x43AC, kNoCode, 1},
        {936, 0x43B1, kNoCode, 1},  {936, 0x43DD, kNoCode, 1},  {936, 0x44D6, kNoCode, 1},
        {936, 0x464C, kNoCode, 1},  {936, 0x4661, kNoCode, 1},  {936, 0x4723, kNoCode, 1},
        {936, 0x4729, kNoCode, 1},  {936, 0x477C, kNoCode, 1},  {936, 0x478D, kNoCode, 1},
        {936, 0x4947, kNoCode, 1},  {936, 0x497A, kNoCode, 1},  {936, 0x497D, kNoCode, 1},
        {936, 0x4982, kNoCode, 2},  {936, 0x4985, kNoCode, 2},  {936, 0x499B, kNoCode, 1},
        {936, 0x499F, kNoCode, 1},  {936, 0x49B6, kNoCode, 2},  {936, 0x4C77, kNoCode, 1},
        {936, 0x4C9F, kNoCode, 5},  {936, 0x4D13, kNoCode, 7},  {936, 0x4DAE, kNoCode, 1},
        {936, 0x9FB4, kNoCode, 8},  {936, 0xFE10, kNoCode, 10}, {950, 0x0080, 0x80, 1},
        {950, 0x2400, kNoCode, 32}, {950, 0x2421, kNoCode, 1},  {950, 0x2593, 0xF9FE, 1},
        {950, 0xFFED, kNoCode, 1},
    };
    // Filled in place, as the quicker in a page: at most a unit a line.
    std::u16string decodings(decodedListing.size(), u'\uFFFD');
    std::size_t count = 0;
    for (std::size_t start = 0, end = decodedListing.find(u'\n'); end != std::u16string_view::npos;
         start = end + 1, end = decodedListing.find(u'\n', start)) {
        decodings[count++] = end - start == 1 ? decodedListing[start] : u'\uFFFD';
    }
    decodings.resize(count);
    Table() = MakeCodeTable(codePage, decodings);
    ApplyCorrections(codePage, corrections, Table());
}

std::optional<std::int16_t> SystemCodePageCode(char16_t unit) {
    if (Table().empty()) {
        Table() = MakeCodeTable(1252, Windows1252Decodings());
    }
    return CodeIn(Table(), unit);
}

}  // namespace conversions
