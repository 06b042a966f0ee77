#include "tests/engine/Harness.h"

#include "engine/CommandChain.h"
#include "tests/support/TestHost.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace brennic::test {

namespace {

constexpr std::string_view kLevelStart = " \r\nLEVELSTART\r\n \r\n";
constexpr std::string_view kLevelEnd = " \r\n \r\nLEVELEND\r\n";

} // namespace

MissionRun Run_mission_file(std::string_view missionFile, engine::ConversionOptions options,
                            engine::EngineState& state) {
    RunFixture fixture;
    fixture.options = std::move(options);
    fixture.options.GTA1iniFile = fixture.missionFolder.string() + "/";
    fixture.options.OutputFolder = fixture.outputFolder.string() + "/";
    fixture.state = std::move(state);
    MissionRun run;
    run.report = fixture.runBytes(std::string(missionFile), "MISSION.INI");
    state = std::move(fixture.state);
    run.status = fixture.host.status;
    for (const auto& entry : std::filesystem::directory_iterator(fixture.outputFolder)) {
        if (entry.is_regular_file()) {
            run.scripts[entry.path().filename().string()] = readFile(entry.path());
        }
    }
    return run;
}

std::string Section(std::string_view number) {
    std::string header = "[";
    header.append(number).append("]\r\nTest, 1, xyz.cmp\r\n\r\n\r\n");
    return header;
}

std::string Translate_lines(std::initializer_list<std::string_view> lines,
                            const engine::ConversionOptions& options) {
    std::string file = Section("1");
    for (const std::string_view line : lines) {
        file.append(line).append("\r\n");
    }
    engine::EngineState state;
    const MissionRun run = Run_mission_file(file, options, state);
    if (run.report.end != engine::RunEnd::Finished || run.scripts.size() != 1) {
        ADD_FAILURE() << "the run did not finish with one script";
        return {};
    }
    const std::string& script = run.scripts.begin()->second;
    const std::size_t start = script.find(kLevelStart);
    if (start == std::string::npos || !script.ends_with(kLevelEnd)) {
        ADD_FAILURE() << "no LEVELSTART block or end in:\n" << script;
        return {};
    }
    const std::size_t from = start + kLevelStart.size();
    return script.substr(from, script.size() - kLevelEnd.size() - from);
}

engine::ConversionOptions Options(std::initializer_list<engine::Switch> on, double x, double y,
                                  double z) {
    engine::ConversionOptions options;
    for (const engine::Switch member : on) {
        options.*member = true;
    }
    options.Xoffset = x;
    options.Yoffset = y;
    options.Zoffset = z;
    return options;
}

engine::ConversionOptions All_switches_on() {
    engine::ConversionOptions options;
    for (const auto& entry : engine::kSwitchKeys) {
        options.*entry.member = true;
    }
    return options;
}

CommandResult Translate_line(const engine::ConversionOptions& options, engine::EngineState& state,
                             std::string_view text) {
    TempFolder folder;
    platform::IoError error;
    const auto output = platform::Folder::open(folder.path(), error);
    engine::Conversion conversion(options, state);
    conversion.script.emplace(std::move(*platform::TextWriter::create(*output, "a.mis", error)));
    conversion.line.strRead = std::string(text);
    conversion.line.strLineNumber =
        engine::Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(conversion.line);
    CommandResult result;
    result.matched = engine::Translate_command(conversion);
    if (conversion.script->close()) {
        throw std::runtime_error("cannot write " + (folder / "a.mis").string());
    }
    result.script = readFile(folder / "a.mis");
    result.stats = conversion.stats;
    return result;
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

} // namespace brennic::test
