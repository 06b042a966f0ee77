#pragma once

#include "engine/ConversionRun.h"
#include "tests/support/TempFolder.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brennic::test {

// A front end for tests: records the status text and the prompts, answers prompts from a queue
// ("Cancel" once it is empty).
class TestHost : public engine::RunHost {
  public:
    std::string status{};
    std::vector<std::string> prompts{};
    std::deque<std::string> answers{};
    std::vector<std::string> warnings{};
    std::function<bool()> stop{}; // asked before each line

    std::string BrowseFolder(std::string_view prompt) override {
        prompts.emplace_back(prompt);
        if (answers.empty()) {
            return "Cancel";
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void replaceStatus(std::string_view text) override { status = text; }
    void appendStatus(std::string_view text) override { status += text; }
    void warning(std::string_view text) override { warnings.emplace_back(text); }
    bool stopRequested() override { return stop && stop(); }
};

// Lines joined with CR LF after each, as a script holds them.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A mission folder and an output folder in a temporary folder, and one run over them.
struct RunFixture {
    TempFolder temp{};
    std::filesystem::path missionFolder = temp / "gtadata";
    std::filesystem::path outputFolder = temp / "out";
    engine::ConversionOptions options{};
    std::optional<std::filesystem::path> cars{};  // the vehicle file; none: the built-in names
    std::optional<std::filesystem::path> texts{}; // the request's text file
    engine::EngineState state{};
    TestHost host{};

    RunFixture() {
        std::filesystem::create_directories(missionFolder);
        std::filesystem::create_directories(outputFolder);
        options.GTA1iniFile = missionFolder.string() + "/";
        options.OutputFolder = outputFolder.string() + "/";
    }

    // Writes the lines as the mission file, each ended by CR LF, and runs.
    engine::RunOutcome run(const std::vector<std::string>& lines,
                           const std::string& name = "mission.ini") {
        return runBytes(crlf(lines), name);
    }
    engine::RunOutcome runBytes(const std::string& bytes, const std::string& name = "mission.ini") {
        writeFile(missionFolder / name, bytes);
        return convert();
    }
    // One run over the files as they are.
    engine::RunOutcome convert() {
        return engine::ConversionRun({options, cars, texts}, state, host);
    }
    std::string script(const std::string& name) const { return readFile(outputFolder / name); }
};

// The options with every switch on, as a modder converting a whole file would tick them.
inline engine::ConversionOptions allSwitchesOn(engine::ConversionOptions options = {}) {
    for (const auto& entry : engine::kSwitchKeys) {
        options.*entry.member = true;
    }
    return options;
}

} // namespace brennic::test
