// Reads any bytes as a script: it is refused with each fault at a line, or
// every entry it holds is one of its pointers', each once, in order.
#include <cstdlib>
#include <string>

#include "rom/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rom::Script script;
    try {
        script = rom::ReadScript(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const rom::ScriptErrors& errors) {
        // Every fault at a line, and no more of them than are reported.
        if (errors.faults().empty() || errors.faults().size() > rom::ScriptErrors::kMostFaults) {
            std::abort();
        }
        for (const rom::ScriptError& error : errors.faults()) {
            if (error.line() == 0) {
                std::abort();
            }
        }
        return 0;
    }
    if (script.entries.size() != script.pointers.count) {
        std::abort();
    }
    for (std::size_t i = 0; i < script.entries.size(); ++i) {
        const rom::ScriptEntry& entry = script.entries[i];
        if (entry.index != i ||
            (entry.kind == rom::ScriptEntry::Kind::Same && entry.same >= size)) {
            std::abort();
        }
        rom::PlaceIn(entry, entry.text.size());
    }
    rom::ScriptHead(script);
    return 0;
}
