// Many inputs, one answer a line: as operands, or as the lines of standard
// input, which may come from a file, a pipe or a person typing.
#include <new>
#include <optional>
#include <vector>

#include "console.h"
#include "utf8.h"

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16U;

// Where an input came from, to name it in a message.
struct Source {
    const char* kind;  // "line" or "operand"
    std::size_t number;
    std::string_view operand;  // shown in the message where it is short
};

class Answerer {
public:
    Answerer(const Request& asked, const Console& streams) : request(asked), console(streams) {}

    void answer(std::string_view input, const Source& source) {
        if (!DecodeUtf8(input, units)) {
            fail(source, "not UTF-8");
        } else {
            try {
                const Answered answered = Answer(request, units);
                out += answered.text;
                if (!answered.warning.empty()) {
                    say(source, answered.warning);
                }
            } catch (const Refused& refusal) {
                fail(source, refusal.what());
            } catch (const std::bad_alloc&) {
                fail(source, "Run-time error '7': Out of memory. The text is too long to work on.");
            }
        }
        out += '\n';
        if (out.size() >= kChunk) {
            flush();
        }
    }

    void flush() {
        if (!out.empty()) {
            console.write(out);
            out.clear();
        }
    }

    [[nodiscard]] bool allAnswered() const { return !failed; }

private:
    // The answers so far go out first, so that a terminal shows the message
    // after them.
    void fail(const Source& source, const std::string& why) {
        say(source, why);
        failed = true;
    }

    void say(const Source& source, const std::string& what) {
        flush();
        std::string name = std::string(source.kind) + ' ' + std::to_string(source.number);
        if (!source.operand.empty() && source.operand.size() <= 40) {
            name += " (" + std::string(source.operand) + ')';
        }
        console.complain("quorvane-cli: " + name + ": " + what + '\n');
    }

    const Request& request;
    const Console& console;
    std::u16string units;  // the input in UTF-16, kept for its room
    std::string out;       // answers not yet written
    bool failed = false;
};

// Each line of standard input, LF or CR LF ended, the last one perhaps not;
// a byte order mark at the start of a line is no part of it, so that files
// joined by cat answer as each would alone.
void AnswerLines(Answerer& answerer, const Console& console) {
    std::vector<char> chunk(kChunk);
    std::string pending;  // read, but not yet a whole line
    std::size_t number = 0;
    const auto line = [&](std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        answerer.answer(text, {"line", ++number, {}});
    };
    for (;;) {
        answerer.flush();  // before waiting for more: a pipe or a person sees each answer
        const std::size_t count = console.read(chunk.data(), chunk.size());
        if (count == 0) {
            break;
        }
        pending.append(chunk.data(), count);
        std::size_t start = 0;
        for (std::size_t end = pending.find('\n'); end != std::string::npos;
             start = end + 1, end = pending.find('\n', start)) {
            line(std::string_view(pending).substr(start, end - start));
        }
        pending.erase(0, start);
    }
    if (!pending.empty()) {
        line(pending);
    }
}

}  // namespace

bool AnswerAll(const Request& request, const std::vector<std::string>& operands,
               const Console& console) {
    Answerer answerer(request, console);
    if (operands.empty()) {
        AnswerLines(answerer, console);
    }
    for (std::size_t i = 0; i < operands.size(); ++i) {
        answerer.answer(operands[i], {"operand", i + 1, operands[i]});
    }
    answerer.flush();
    return answerer.allAnswered();
}
