// Runs every folder of tests/cases through brennic-cli in a fresh temporary folder and compares
// every file the run leaves, the status text and the exit code byte for byte.
//
// A case folder holds:
//   input/     the mission file (any of its names), and e.txt and cars.ini when the case needs
//   them;
//              other files go beside the mission file (ENGLISH.FXT)
//   args       brennic-cli options, blank-separated, besides the two folders; a word input/NAME
//              is that file of the case (--texts input/mine.fxt), which stays where it is
//   expected/  status.txt, exit-code, optionally stderr.txt, and output/: the output folder after
//              the run (e.txt left out; .gitkeep files stand for empty folders); with report.txt
//              the run also gets --report and its report is compared
#include "tests/cli/CliRun.h"
#include "tests/support/GTA1TextEncoder.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using brennic::test::encodeGTA1;
using brennic::test::gta1Records;
using brennic::test::GTA1Variant;
using brennic::test::readFile;
using brennic::test::TempFolder;
using namespace std::string_literals;

namespace {

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(BRENNIC_CASES_DIR)) {
        if (entry.is_directory()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The files a case compares: .gitkeep files only keep empty folders in git, and e.txt is input.
std::map<std::string, std::string> compared(const fs::path& root) {
    std::map<std::string, std::string> files = brennic::test::filesIn(root);
    std::erase_if(files, [](const auto& file) {
        return file.first.ends_with(".gitkeep") || file.first == "e.txt";
    });
    return files;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) {
        out.push_back(word);
    }
    return out;
}

// brennic-cli.exe ends every line it writes in CR LF, as Windows programs do; the expected
// messages are written as the Linux build writes them.
std::string asWritten(const std::string& text) {
    const char* command = std::getenv("BRENNIC_CLI_COMMAND");
    if (command == nullptr || std::string_view(command).find(".exe") == std::string_view::npos) {
        return text;
    }
    std::string written;
    for (const char c : text) {
        if (c == '\n' && (written.empty() || written.back() != '\r')) {
            written += '\r';
        }
        written += c;
    }
    return written;
}

class GoldenCase : public testing::TestWithParam<std::string> {};

TEST(GoldenCases, CasesExist) { EXPECT_FALSE(caseNames().empty()); }

// The GTA1 text files among the cases' inputs and the example, made by the tests' own encoder from
// texts of our own: no game file goes into the project. Each file holds exactly these bytes; with
// BRENNIC_WRITE_FIXTURES=1 in the environment this test writes them.
TEST(GoldenCases, GTA1TextFilesAreTheEncodersBytes) {
    const fs::path cases = BRENNIC_CASES_DIR;
    const std::string fromEnglish = gta1Records({"[1001]From ENGLISH.FXT", "[1002]From ENGLISH.FXT",
                                                 "[1500]From ENGLISH.FXT", "[7]From ENGLISH.FXT"});
    const std::tuple<fs::path, GTA1Variant, std::string> files[] = {
        {cases / "texts-gta1-file-beside-mission/input/english.fxt", GTA1Variant::Retail,
         gta1Records({"[1001]Get to the bank", "[help1]Press F1 for help", "[1002]Caf\xc3\xa9 run",
                      "[7]Seven  ", "[1001]A second 1001", "[9001]Past the table"})},
        {cases / "texts-e-txt-wins/input/ENGLISH.FXT", GTA1Variant::Demo, fromEnglish},
        {cases / "texts-option-gta1-file/input/ENGLISH.FXT", GTA1Variant::Retail, fromEnglish},
        {cases / "texts-option-gta1-file/input/mine.fxt", GTA1Variant::Demo,
         "[7]Seven from mine\0[1500]Fifteen hundred from mine\0[10"s}, // cut short
        {cases / "texts-option-text-file/input/ENGLISH.FXT", GTA1Variant::Retail, fromEnglish},
        {cases / "texts-option-no-text/input/no-text.fxt", GTA1Variant::Retail,
         gta1Records({"[help1]Press F1 for help", "[01]x", "[9001]y"})},
        // The texts of examples/output/e.txt.
        {fs::path(BRENNIC_EXAMPLES_DIR) / "gtadata/ENGLISH.FXT", GTA1Variant::Retail,
         gta1Records({"[help1]Press F1 for help", "[1001]Get to the bank, the alarm is off. ",
                      "[1002]The Bank Job ", "[1400]Hurry! The lift leaves at noon. ",
                      "[1500]Last orders at the bar. ", "[2501]Mission failed! "})},
    };
    const bool write = std::getenv("BRENNIC_WRITE_FIXTURES") != nullptr;
    for (const auto& [path, variant, plain] : files) {
        SCOPED_TRACE(path.string());
        if (write) {
            brennic::test::writeFile(path, encodeGTA1(plain, variant));
        }
        EXPECT_EQ(readFile(path), encodeGTA1(plain, variant));
    }
}

TEST_P(GoldenCase, OutputMatches) {
    const fs::path caseDir = fs::path(BRENNIC_CASES_DIR) / GetParam();
    TempFolder temp;
    const fs::path missionDir = temp / "gtadata";
    const fs::path outputDir = temp / "output";
    fs::create_directories(missionDir);
    fs::create_directories(outputDir);
    std::vector<std::string> args = {"--mission-dir", missionDir.string(), "--output-dir",
                                     outputDir.string()};
    std::vector<std::string> extra;
    if (fs::exists(caseDir / "args")) {
        extra = words(readFile(caseDir / "args"));
    }
    for (std::string& word : extra) {
        if (word.starts_with("input/")) {
            word = (caseDir / word).string();
        }
    }
    for (const auto& entry : fs::directory_iterator(caseDir / "input")) {
        const std::string name = entry.path().filename().string();
        if (name == "e.txt") {
            fs::copy_file(entry.path(), outputDir / name);
        } else if (name == "cars.ini") {
            args.insert(args.end(), {"--cars", entry.path().string()});
        } else if (name != ".gitkeep" &&
                   std::find(extra.begin(), extra.end(), entry.path().string()) == extra.end()) {
            fs::copy_file(entry.path(), missionDir / name);
        }
    }
    args.insert(args.end(), extra.begin(), extra.end());
    const fs::path expected = caseDir / "expected";
    const bool reported = fs::exists(expected / "report.txt");
    if (reported) {
        args.insert(args.end(), {"--report", (temp / "report.txt").string()});
    }
    const brennic::test::CliResult run = brennic::test::runCli(args);

    if (reported) {
        EXPECT_EQ(readFile(temp / "report.txt"), readFile(expected / "report.txt"));
    }
    EXPECT_EQ(std::to_string(run.code), words(readFile(expected / "exit-code")).at(0));
    EXPECT_EQ(run.out, readFile(expected / "status.txt"));
    if (fs::exists(expected / "stderr.txt")) {
        EXPECT_EQ(run.err, asWritten(readFile(expected / "stderr.txt")));
    }
    const auto want = compared(expected / "output");
    const auto got = compared(outputDir);
    for (const auto& [name, bytes] : want) {
        const auto it = got.find(name);
        if (it == got.end()) {
            ADD_FAILURE() << "missing " << name;
        } else {
            EXPECT_EQ(it->second, bytes) << "in " << name;
        }
    }
    for (const auto& [name, bytes] : got) {
        EXPECT_TRUE(want.count(name) != 0) << "unexpected " << name;
    }
}

// Case folder names are lower-case words joined by "-".
INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, testing::ValuesIn(caseNames()),
                         [](const testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
