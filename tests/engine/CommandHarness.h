#pragma once

#include "engine/CommandChain.h"
#include "tests/support/TempFolder.h"

#include <string>
#include <string_view>

namespace brennic::test {

// What one mission line left after the command chain.
struct CommandResult {
    bool matched = false;
    std::string script{}; // every byte written, CR LF included
    engine::ConversionStats stats{};
    int cursor = 0;
};

// Takes one mission line as the run does (line number, then the chain at the blank behind it)
// into a fresh script, and returns what was written.
inline CommandResult Translate_line(const engine::ConversionOptions& options,
                                    engine::EngineState& state, std::string_view text) {
    TempFolder folder;
    const auto path = folder / "script.mis";
    platform::BackgroundWriter writer;
    writer.create(path);
    engine::Conversion conversion(options, state);
    conversion.script = &writer;
    conversion.line.strRead = std::string(text);
    conversion.line.strLineNumber =
        engine::Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(conversion.line);
    CommandResult result;
    result.matched = engine::Translate_command(conversion);
    if (writer.finish()) {
        throw std::runtime_error("cannot write " + path.string());
    }
    result.script = readFile(path);
    result.stats = conversion.stats;
    result.cursor = conversion.line.intLinePosition;
    return result;
}

// Script lines joined with CR LF, each ending in one.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

// Every switch on, as a modder converting a whole file would tick them.
inline engine::ConversionOptions All_switches_on() {
    engine::ConversionOptions options;
    for (const auto& entry : engine::kSwitchKeys) {
        options.*entry.member = true;
    }
    return options;
}

} // namespace brennic::test
