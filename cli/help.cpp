#include "help.h"

#include <utility>

namespace {

constexpr char kExamples[] =
    R"(Quorvane on the command line: NES ROM pointers, word codes and text, many at
once, and the ROM itself: its header, its pointers and its text.

Examples:
  quorvane-cli pointer 8123 8124
      1381 and 1481: the pointers to two file offsets, Type 1
  quorvane-cli pointer --type 2 --bytes 8123
      13 C1: the pointer's two bytes as stored, Type 2
  quorvane-cli pointer < offsets.txt > pointers.txt
      a pointer table: a line of pointers for the lines of offsets
  quorvane-cli offset --type 1 --bank 2 8113
      8123: the file offset that $8113 stands for in bank 2
  quorvane-cli offset --type 1 --bank 2 --bytes 1381
      the same, from the pointer's bytes
  quorvane-cli word --code-page 1251 ПРИВЕТ
      9F A0 98 92 95 A2: the codes in Windows' Cyrillic code page
  quorvane-cli text " 1F 1E 1C 29"
      ONLY: the word those codes stand for
  quorvane-cli info game.nes
      the ROM's header, banks and hashes
  quorvane-cli find game.nes --pointer-to '$1C123'
      every place where a pointer to that offset is stored
  quorvane-cli find game.nes --relative HELLO --table-out game.tbl
      the game's text, and the table of its letters
  quorvane-cli word --table game.tbl "HELLO"
      the word's bytes by the game's table
  quorvane-cli find game.nes --free
      the runs of free bytes, largest first, as insert's --space takes them
  quorvane-cli find game.nes --tables --table game.tbl
      the pointer tables whose strings the table reads, as dump takes them
  quorvane-cli patch info French.bps game.nes
      what the patch is for, and whether it applies to the ROM

Each input is an operand or, where there are none, a line of standard input
(UTF-8). Each answer is a line of standard output, in order; a failed input's
line stays empty and its message goes to standard error.

Offsets, addresses and bytes are hex: 8010, $8010 or 0x8010, and spaces
between groups of digits; anything else is refused, and --as-window reads
them as the window does. Counts and banks are decimal, or hex after 0x or $.

Exit status, of every command:
  0   all done
  1   an input or a file's content was refused (a bad offset, a faulty ROM or
      table, a file that cannot be opened); the rest is still answered
  2   the command line itself is wrong: an option, a value, a missing argument
  74  a read or write failed part way: a standard stream, or a file written

The table and script formats: quorvane-tbl(5) and quorvane-script(5).
)";

constexpr char kWindow[] =
    "  --type 1|2   a 16 KiB bank at $8000 (1, as the window opens) or $C000 (2)\n"
    "  --bank-size 8 --base ADDR\n"
    "               8 KiB banks (MMC3 and its kin) at $8000, $A000, $C000 or $E000\n"
    "  --trainer    a 512-byte trainer follows the header\n";

const std::pair<const char*, std::string> kCommands[] = {
    {"pointer",
     std::string("pointer [--type 1|2 | --bank-size 8 --base ADDR] [--trainer] [--bytes]\n"
                 "        [--as-window] [OFFSET...]\n") +
         "pointer: the pointer to each file offset.\n" + kWindow +
         "  --bytes      the pointer's two stored bytes, low byte first: 13 81\n"
         "  --as-window  offsets read as the window reads them, skipping what is no digit\n"},
    {"offset",
     std::string("offset (--type 1|2 | --bank-size 8 --base ADDR) --bank N [--trainer]\n"
                 "       [--bytes] [--as-window] [POINTER...]\n") +
         "offset: the file offset that each pointer's address stands for in bank N.\n" + kWindow +
         "  --bank N     the bank, from PRG-ROM's first byte, in the window's bank size:\n"
         "               within a 4 MiB file\n"
         "  --bytes      each pointer as its two stored bytes, low byte first: 13 81\n"
         "  --as-window  addresses read as the window reads them\n"},
    {"word",
     "word [--code-page N | --table T.tbl] [WORD...]\n"
     "word: the codes of each word, each character's code less 48, in hex.\n"
     "  --code-page N  874, 932, 936, 949, 950 or 1250 to 1258, whatever the\n"
     "                 language of the system or of LC_ALL, LC_CTYPE or LANG\n"
     "  --table T.tbl  the word's bytes by a text table, in the fewest bytes\n"},
    {"text",
     "text [--code-page N | --table T.tbl] [HEX...]\n"
     "text: the text of each line of codes, as word writes them, or of bytes.\n"
     "  --code-page N  the code page of the codes, as for word\n"
     "  --table T.tbl  the text of bytes (0A 1F FF) by a text table\n"},
    {"info",
     "info [--json] ROM...\n"
     "info: each ROM's header, banks and the hashes of the file and of its data.\n"
     "  --json       one JSON object a file\n"},
    {"find",
     std::string(
         "find ROM (--pointer-to OFFSET [--type 1|2 | --bank-size 8 --base ADDR]\n"
         "     | --text WORD --table T.tbl | --relative WORD [--table-out T.tbl [--force]]\n"
         "     | --free [--byte XX] [--min N])\n") +
         "find: hits in PRG-ROM, one a line, each beginning with its file offset.\n"
         "  --pointer-to OFFSET  every pointer to OFFSET: both types unless one is given;\n"
         "                       where it lies, and the bank of the text (dump's --bank)\n"
         "  --text WORD          every place of the word's bytes by --table\n"
         "  --relative WORD      every place whose bytes step as the word's letters\n"
         "                       (A-Z, a-z, or both) or digits step; the byte for A there\n"
         "  --table-out T.tbl    the table that the first hit implies; an existing file\n"
         "                       only with --force\n"
         "  --free               runs of one byte, largest first, split at bank ends,\n"
         "                       as --space takes them\n"
         "  --byte XX            the byte of --free (by default 00 or FF, the more common)\n"
         "  --min N              the shortest run --free lists (16)\n"},
    {"dump",
     std::string("dump ROM --table T.tbl --pointers OFFSET [--high OFFSET] --count N\n"
                 "     (--type 1|2 | --bank-size 8 --base ADDR) --bank B [-o SCRIPT]\n") +
         "dump: the script of the strings a pointer table points at, to edit and insert.\n"
         "  --pointers OFFSET  the table: N pointers of two bytes, low byte first\n"
         "  --high OFFSET      a split table: N low bytes at --pointers, N high bytes here\n"
         "  --count N          how many pointers\n"
         "  --bank B           the bank the pointers' addresses are in\n"
         "  -o SCRIPT          the script's file, rather than standard output; an existing\n"
         "                     one only with --force, or where it holds the same\n"},
    {"insert",
     "insert ROM SCRIPT... -o OUT.nes [--space START-END]... [--patch FILE.bps|.ips|.ups]\n"
     "       [--fill XX] [--force]\n"
     "insert: each script's text encoded, laid out in the spaces its pointers reach,\n"
     "and every pointer rewritten; nothing is written where the text does not fit.\n"
     "  --space START-END  more room for strings, beside the scripts' @space lines\n"
     "  --patch FILE       the patch from ROM to OUT too, BPS or IPS by its extension\n"
     "  --fill XX          the byte for space that no string uses (else left as it was)\n"
     "  --force            a script dumped from another ROM inserted all the same\n"},
    {"patch",
     "patch make ORIGINAL MODIFIED -o PATCH.bps|.ips|.ups | patch apply ROM PATCH -o OUT\n"
     "      [--across-header] | patch info [--json] PATCH [ROM]\n"
     "patch: make a BPS, IPS or UPS patch, apply one (BPS and UPS checked by their\n"
     "CRC32s, a UPS either way, Quorvane's BPS carried across a rewritten NES header),\n"
     "or say what a patch is and whether it applies to a ROM.\n"
     "  --across-header  a patch made for the ROM without its header, or with one,\n"
     "                   applied shifted by the header; the ROM's own header kept\n"},
    {"header",
     "header ROM -o OUT (--clean | --remove | --from OTHER.nes)\n"
     "header: the ROM with its header cleaned, removed, or taken from another file.\n"
     "  --clean         bytes 7-15 of a dirty header zero, as emulators read them\n"
     "  --remove        the 16 bytes of the header removed\n"
     "  --from OTHER    the header of OTHER.nes, in place of the ROM's or where it has none\n"},
};

}  // namespace

std::string Help() {
    std::string help = std::string(kExamples) + "\nUsage:\n";
    for (const auto& [name, text] : kCommands) {
        help += "  quorvane-cli " + text.substr(0, text.find(std::string(name) + ": "));
    }
    help += "  quorvane-cli --help | --version\n";
    for (const auto& [name, text] : kCommands) {
        help += "\n" + text.substr(text.find(std::string(name) + ": "));
    }
    return help;
}

std::string CommandHelp(const std::string& name) {
    for (const auto& [command, text] : kCommands) {
        if (name == command) {
            const std::size_t split = text.find(name + ": ");
            return "Usage: quorvane-cli " + text.substr(0, split) + "\n" + text.substr(split);
        }
    }
    return {};
}
