#include "tests/engine/TranslationHarness.h"

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brennic::test {

namespace {

class TestHost : public engine::RunHost {
  public:
    std::string BrowseFolder(std::string_view /*prompt*/) override { return "Cancel"; }
    void replaceStatus(std::string_view text) override { status = text; }
    void appendStatus(std::string_view text) override { status += text; }
    std::optional<std::filesystem::path> vehicleFile() const override { return std::nullopt; }

    std::string status;
};

constexpr std::string_view kLevelStart = " \r\nLEVELSTART\r\n \r\n";
constexpr std::string_view kLevelEnd = " \r\n \r\nLEVELEND\r\n";

} // namespace

MissionRun Run_mission_file(std::string_view missionFile, engine::ConversionOptions options,
                            engine::EngineState& state) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "gtadata");
    std::filesystem::create_directory(folder / "output");
    writeFile(folder / "gtadata" / "MISSION.INI", missionFile);
    options.GTA1iniFile = (folder / "gtadata").string() + "/";
    options.OutputFolder = (folder / "output").string() + "/";
    TestHost host;
    MissionRun run;
    run.report = engine::ConversionRun(options, state, host);
    run.status = host.status;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "output")) {
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

} // namespace brennic::test
