// Where Windows' encoder gives a code unit another code than the table made
// from a code page's decodings: found by comparing, for every code unit, the
// table made from the C library's decoders with Windows' own.
#include "code_page.h"

namespace conversions {

// Bytes that Windows maps to the Private Use Area (874, 1253, 1255, 1257;
// 0xFF in 949 and 950, and 932's 0xA0, 0xFD to 0xFF); 0x80 for U+0080 in the
// double-byte code pages; 936's codes outside its user-defined areas that
// Windows maps to the Private Use Area; 950's characters Big5 holds twice, of
// which Windows encodes the other; and 1255's Hebrew point holam haser for
// vav, which Windows has.
void ApplyWindowsCorrections(unsigned codePage, CodeTable& table) {
    static const std::vector<Correction> corrections = {
        {874, 0xF8C1, 0xDB, 4},    {874, 0xF8C5, 0xFC, 4},    {932, 0x0080, 0x80, 1},
        {932, 0xF8F0, 0xA0, 1},    {932, 0xF8F1, 0xFD, 3},    {936, 0xE766, 0xA2AB, 6},
        {936, 0xE76C, 0xA2E3, 2},  {936, 0xE76E, 0xA2EF, 2},  {936, 0xE770, 0xA2FD, 2},
        {936, 0xE772, 0xA4F4, 11}, {936, 0xE77D, 0xA5F7, 8},  {936, 0xE785, 0xA6B9, 8},
        {936, 0xE78D, 0xA6D9, 7},  {936, 0xE794, 0xA6EC, 2},  {936, 0xE796, 0xA6F3, 1},
        {936, 0xE797, 0xA6F6, 9},  {936, 0xE7A0, 0xA7C2, 15}, {936, 0xE7AF, 0xA7F2, 13},
        {936, 0xE7BC, 0xA896, 11}, {936, 0xE7C7, 0xA8BC, 1},  {936, 0xE7C8, 0xA8BF, 1},
        {936, 0xE7C9, 0xA8C1, 4},  {936, 0xE7CD, 0xA8EA, 21}, {936, 0xE7E2, 0xA958, 1},
        {936, 0xE7E3, 0xA95B, 1},  {936, 0xE7E4, 0xA95D, 3},  {936, 0xE7E7, 0xA989, 13},
        {936, 0xE7F4, 0xA997, 13}, {936, 0xE801, 0xA9F0, 15}, {936, 0xE810, 0xD7FA, 5},
        {936, 0xE815, 0xFE50, 47}, {936, 0xE844, 0xFE80, 33}, {936, 0xF8F5, 0xFF, 1},
        {949, 0x0080, 0x80, 1},    {949, 0xF8F7, 0xFF, 1},    {950, 0x2550, 0xF9F9, 1},
        {950, 0x255E, 0xF9E9, 1},  {950, 0x2561, 0xF9EB, 1},  {950, 0x256A, 0xF9EA, 1},
        {950, 0x5341, 0xA451, 1},  {950, 0x5345, 0xA4CA, 1},  {950, 0xF8F8, 0xFF, 1},
        {1253, 0xF8F9, 0xAA, 1},   {1253, 0xF8FA, 0xD2, 1},   {1253, 0xF8FB, 0xFF, 1},
        {1255, 0x05BA, 0xCA, 1},   {1255, 0xF88D, 0xD9, 7},   {1255, 0xF894, 0xFB, 2},
        {1255, 0xF896, 0xFF, 1},   {1257, 0xF8FC, 0xA1, 1},   {1257, 0xF8FD, 0xA5, 1},
    };
    ApplyCorrections(codePage, corrections, table);
}

void ApplyCorrections(unsigned codePage, const std::vector<Correction>& corrections,
                      CodeTable& table) {
    for (const Correction& run : corrections) {
        for (unsigned i = 0; run.codePage == codePage && i < run.count; ++i) {
            table[run.firstUnit + i] =
                run.firstCode == kNoCode
                    ? kNoCode
                    : static_cast<std::int16_t>(run.firstCode + static_cast<std::int32_t>(i));
        }
    }
}

}  // namespace conversions
