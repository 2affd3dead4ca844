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

void UseCodePage(unsigned codePage, std::u16string_view decodings) {
    Table() = MakeCodeTable(codePage, decodings);
}

std::optional<std::int16_t> SystemCodePageCode(char16_t unit) {
    if (Table().empty()) {
        Table() = MakeCodeTable(1252, Windows1252Decodings());
    }
    return CodeIn(Table(), unit);
}

}  // namespace conversions
