// What the script tests compare: each entry's text as a dump says it, and
// scripts made ready to insert.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "rom/insert.h"
#include "rom/script.h"

// Each entry's text, with `=` followed ("keep" for a kept one): what a dump
// says, offsets and comments aside.
inline std::map<std::uint64_t, std::string> Texts(const rom::Script& script) {
    std::map<std::uint64_t, std::string> texts;
    for (const rom::ScriptEntry& entry : script.entries) {
        std::uint64_t n = entry.index;
        while (script.entries[n].kind == rom::ScriptEntry::Kind::Same) {
            n = script.entries[n].same;
        }
        texts[entry.index] = script.entries[n].kind == rom::ScriptEntry::Kind::Keep
                                 ? "keep"
                                 : script.entries[n].text;
    }
    return texts;
}

// Each script with its strings, encoded by `table`.
inline std::vector<rom::Translation> Translations(const std::vector<rom::Script>& scripts,
                                                  const rom::Table& table) {
    std::vector<rom::Translation> translations;
    translations.reserve(scripts.size());
    for (const rom::Script& script : scripts) {
        translations.push_back({&script, &table, rom::EncodeScript(script, table)});
    }
    return translations;
}
