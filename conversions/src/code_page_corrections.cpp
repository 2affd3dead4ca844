// Where Windows' encoder gives a code unit another code than a code page's
// decoders do (the C library's, or a browser's): found by comparing, for
// every code unit, the table made from each decoder with Windows' own.
#include <iterator>

#include "code_page.h"

namespace conversions {
namespace {

// From firstUnit on, count code units in a row whose codes run on from
// firstCode in Windows (or which have none there: kNoCode).
struct Run {
    unsigned codePage;
    char16_t firstUnit;
    std::int32_t firstCode;
    unsigned count;
};

// Bytes that Windows maps to the Private Use Area (874, 1253, 1255, 1257;
// 0xFF in 949 and 950, and 932's 0xA0, 0xFD to 0xFF); 0x80 for U+0080 in the
// double-byte code pages; 936's codes that Windows maps to the Private Use
// Area, where the browsers' GB18030 has characters Windows lacks; 950's
// characters Big5 holds twice, of which Windows encodes the other; and
// 1255's Hebrew point holam haser for vav, which Windows has.
constexpr Run kRuns[] = {
    {874, 0xF8C1, 0xDB, 4},    {874, 0xF8C5, 0xFC, 4},     {932, 0x0080, 0x80, 1},
    {932, 0xF8F0, 0xA0, 1},    {932, 0xF8F1, 0xFD, 3},     {936, 0x01F9, kNoCode, 1},
    {936, 0x1E3F, kNoCode, 1}, {936, 0x2E81, kNoCode, 1},  {936, 0x2E84, kNoCode, 1},
    {936, 0x2E88, kNoCode, 1}, {936, 0x2E8B, kNoCode, 2},  {936, 0x2E97, kNoCode, 1},
    {936, 0x2EA7, kNoCode, 1}, {936, 0x2EAA, kNoCode, 1},  {936, 0x2EAE, kNoCode, 1},
    {936, 0x2EB3, kNoCode, 1}, {936, 0x2EB6, kNoCode, 2},  {936, 0x2EBB, kNoCode, 1},
    {936, 0x2ECA, kNoCode, 1}, {936, 0x2FF0, kNoCode, 12}, {936, 0x303E, kNoCode, 1},
    {936, 0x3447, kNoCode, 1}, {936, 0x3473, kNoCode, 1},  {936, 0x359E, kNoCode, 1},
    {936, 0x360E, kNoCode, 1}, {936, 0x361A, kNoCode, 1},  {936, 0x3918, kNoCode, 1},
    {936, 0x396E, kNoCode, 1}, {936, 0x39CF, kNoCode, 2},  {936, 0x39DF, kNoCode, 1},
    {936, 0x3A73, kNoCode, 1}, {936, 0x3B4E, kNoCode, 1},  {936, 0x3C6E, kNoCode, 1},
    {936, 0x3CE0, kNoCode, 1}, {936, 0x4056, kNoCode, 1},  {936, 0x415F, kNoCode, 1},
    {936, 0x4337, kNoCode, 1}, {936, 0x43AC, kNoCode, 1},  {936, 0x43B1, kNoCode, 1},
    {936, 0x43DD, kNoCode, 1}, {936, 0x44D6, kNoCode, 1},  {936, 0x464C, kNoCode, 1},
    {936, 0x4661, kNoCode, 1}, {936, 0x4723, kNoCode, 1},  {936, 0x4729, kNoCode, 1},
    {936, 0x477C, kNoCode, 1}, {936, 0x478D, kNoCode, 1},  {936, 0x4947, kNoCode, 1},
    {936, 0x497A, kNoCode, 1}, {936, 0x497D, kNoCode, 1},  {936, 0x4982, kNoCode, 2},
    {936, 0x4985, kNoCode, 2}, {936, 0x499B, kNoCode, 1},  {936, 0x499F, kNoCode, 1},
    {936, 0x49B6, kNoCode, 2}, {936, 0x4C77, kNoCode, 1},  {936, 0x4C9F, kNoCode, 5},
    {936, 0x4D13, kNoCode, 7}, {936, 0x4DAE, kNoCode, 1},  {936, 0x9FB4, kNoCode, 8},
    {936, 0xE766, 0xA2AB, 6},  {936, 0xE76C, 0xA2E3, 2},   {936, 0xE76E, 0xA2EF, 2},
    {936, 0xE770, 0xA2FD, 2},  {936, 0xE772, 0xA4F4, 11},  {936, 0xE77D, 0xA5F7, 8},
    {936, 0xE785, 0xA6B9, 8},  {936, 0xE78D, 0xA6D9, 7},   {936, 0xE794, 0xA6EC, 2},
    {936, 0xE796, 0xA6F3, 1},  {936, 0xE797, 0xA6F6, 9},   {936, 0xE7A0, 0xA7C2, 15},
    {936, 0xE7AF, 0xA7F2, 13}, {936, 0xE7BC, 0xA896, 11},  {936, 0xE7C7, 0xA8BC, 1},
    {936, 0xE7C8, 0xA8BF, 1},  {936, 0xE7C9, 0xA8C1, 4},   {936, 0xE7CD, 0xA8EA, 21},
    {936, 0xE7E2, 0xA958, 1},  {936, 0xE7E3, 0xA95B, 1},   {936, 0xE7E4, 0xA95D, 3},
    {936, 0xE7E7, 0xA989, 13}, {936, 0xE7F4, 0xA997, 13},  {936, 0xE801, 0xA9F0, 15},
    {936, 0xE810, 0xD7FA, 5},  {936, 0xE815, 0xFE50, 47},  {936, 0xE844, 0xFE80, 33},
    {936, 0xF8F5, 0xFF, 1},    {936, 0xFE10, kNoCode, 10}, {949, 0x0080, 0x80, 1},
    {949, 0xF8F7, 0xFF, 1},    {950, 0x0080, 0x80, 1},     {950, 0x2400, kNoCode, 32},
    {950, 0x2421, kNoCode, 1}, {950, 0x2550, 0xF9F9, 1},   {950, 0x255E, 0xF9E9, 1},
    {950, 0x2561, 0xF9EB, 1},  {950, 0x256A, 0xF9EA, 1},   {950, 0x2593, 0xF9FE, 1},
    {950, 0x5341, 0xA451, 1},  {950, 0x5345, 0xA4CA, 1},   {950, 0xF8F8, 0xFF, 1},
    {950, 0xFFED, kNoCode, 1}, {1253, 0xF8F9, 0xAA, 1},    {1253, 0xF8FA, 0xD2, 1},
    {1253, 0xF8FB, 0xFF, 1},   {1255, 0x05BA, 0xCA, 1},    {1255, 0xF88D, 0xD9, 7},
    {1255, 0xF894, 0xFB, 2},   {1255, 0xF896, 0xFF, 1},    {1257, 0xF8FC, 0xA1, 1},
    {1257, 0xF8FD, 0xA5, 1},
};

}  // namespace

void ApplyWindowsCorrections(unsigned codePage, CodeTable& table) {
    for (const Run& run : kRuns) {
        for (unsigned i = 0; run.codePage == codePage && i < run.count; ++i) {
            table[run.firstUnit + i] =
                run.firstCode == kNoCode ? kNoCode : static_cast<std::int16_t>(run.firstCode + i);
        }
    }
}

}  // namespace conversions
