#include "tests/cli/CliRun.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using brennic::test::CliResult;
using brennic::test::readFile;
using brennic::test::runCli;
using brennic::test::TempFolder;
using brennic::test::writeFile;

namespace {

// The scripts of a folder by name, with their bytes.
std::map<std::string, std::string> scriptsIn(const fs::path& folder) {
    std::map<std::string, std::string> scripts;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".mis") {
            scripts[entry.path().filename().string()] = readFile(entry.path());
        }
    }
    return scripts;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// One item line of a check's block: "  N: reason: statement".
struct ItemLine {
    int scriptLine = 0;
    std::string reason{};
    std::string statement{};
};

std::vector<ItemLine> itemLines(const std::string& blockText) {
    std::vector<ItemLine> items;
    for (const std::string& line : splitLines(blockText)) {
        const std::size_t colon = line.find(": ");
        if (!line.starts_with("  ") || colon == std::string::npos ||
            !std::all_of(line.begin() + 2, line.begin() + static_cast<std::ptrdiff_t>(colon),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        const std::size_t reasonEnd = line.find(": ", colon + 2);
        items.push_back({std::stoi(line.substr(2, colon - 2)),
                         line.substr(colon + 2, reasonEnd - colon - 2),
                         reasonEnd == std::string::npos ? "" : line.substr(reasonEnd + 2)});
    }
    return items;
}

// The mission file in a folder of its own, converted with every translation on.
struct Converted {
    TempFolder temp{};
    fs::path output = temp / "out";
    CliResult result{};

    Converted(const fs::path& missionFile, std::vector<std::string> more = {}) {
        fs::create_directories(temp / "gtadata");
        fs::create_directories(output);
        fs::copy_file(missionFile, temp / "gtadata" / "mission.ini");
        std::vector<std::string> args = {"--mission-dir", (temp / "gtadata").string(),
                                         "--output-dir", output.string(), "--all"};
        args.insert(args.end(), more.begin(), more.end());
        result = runCli(args);
    }
};

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    if (fs::is_directory(BRENNIC_CORPUS_DIR)) {
        for (const auto& entry : fs::directory_iterator(BRENNIC_CORPUS_DIR)) {
            if (entry.path().extension() == ".ini") {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(CliReport, LeavesStatusExitCodeAndScriptsAsTheyAre) {
    std::vector<fs::path> files = corpusFiles();
    files.push_back(fs::path(BRENNIC_EXAMPLES_DIR) / "gtadata" / "MISSION.INI");
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        Converted plain(file);
        TempFolder reportFolder;
        Converted withReport(file, {"--report", (reportFolder / "report.txt").string()});
        EXPECT_EQ(withReport.result.code, plain.result.code);
        EXPECT_EQ(withReport.result.out, plain.result.out);
        EXPECT_EQ(withReport.result.err, plain.result.err);
        EXPECT_EQ(scriptsIn(withReport.output), scriptsIn(plain.output));
        EXPECT_FALSE(readFile(reportFolder / "report.txt").empty());
    }
}

TEST(CliReport, NoReportWhenNothingWasConverted) {
    TempFolder temp;
    fs::create_directories(temp / "gtadata");
    writeFile(temp / "gtadata" / "mission.ini", "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n");
    const CliResult noFolder =
        runCli({"--mission-dir", (temp / "gtadata").string(), "--output-dir", temp.path().string(),
                "--report", (temp / "none" / "report.txt").string()});
    EXPECT_EQ(noFolder.code, 2); // known before the run starts
    EXPECT_FALSE(fs::exists(temp / "nyc_A_1.mis"));

    const CliResult cancelled =
        runCli({"--mission-dir", temp.path().string(), "--output-dir", temp.path().string(),
                "--report", (temp / "report.txt").string()});
    EXPECT_EQ(cancelled.code, 3);
    EXPECT_FALSE(fs::exists(temp / "report.txt"));
}

TEST(CliCheck, ExitCodes) {
    TempFolder temp;
    writeFile(temp / "clean.mis", "OBJ_DATA OBJECT1 = ( 1.0 , 2.0 , 3.0 )\r\n"
                                  "POINT_ARROW_AT ( ARROW , OBJECT1 ) // 2\r\n");
    writeFile(temp / "left.mis", "\r\n// MOVE FAIL LINE HERE\r\n");
    const std::string clean = (temp / "clean.mis").string();
    const std::string left = (temp / "left.mis").string();

    const CliResult nothing = runCli({"--check", clean});
    EXPECT_EQ(nothing.code, 0);
    EXPECT_EQ(nothing.out, clean + "\r\n  nothing left to do\r\n");

    const CliResult some = runCli({"--check", clean, left});
    EXPECT_EQ(some.code, 4);
    EXPECT_EQ(some.out, clean + "\r\n  nothing left to do\r\n\r\n" + left +
                            "\r\n  2: fail line to move here: // MOVE FAIL LINE HERE\r\n");

    EXPECT_EQ(runCli({"--check"}).code, 2);
    EXPECT_EQ(runCli({"--check", (temp / "none.mis").string()}).code, 2);
    EXPECT_EQ(runCli({"--check", temp.path().string()}).code, 2); // a folder
    const CliResult mixed = runCli({"--check", clean, "--all"});
    EXPECT_EQ(mixed.code, 2);
    EXPECT_NE(mixed.err.find("--all"), std::string::npos);
    EXPECT_EQ(runCli({"--check", clean, "--report", (temp / "r.txt").string()}).code, 2);
}

// What a user does with the report: each item is fixed at the line it names, and the scripts
// then pass. A wrong line number would leave its item standing.
TEST(CliCheck, CorpusScriptsPassOnceTheirItemsAreFixedByHand) {
    const std::vector<fs::path> files = corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no mission files in " << BRENNIC_CORPUS_DIR;
    }
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        Converted converted(file);
        ASSERT_EQ(converted.result.code, 0) << converted.result.err;
        std::vector<std::string> scripts;
        for (const auto& [name, bytes] : scriptsIn(converted.output)) {
            scripts.push_back((converted.output / name).string());
        }
        std::vector<std::string> args = {"--check"};
        args.insert(args.end(), scripts.begin(), scripts.end());
        ASSERT_EQ(runCli(args).code, 4);

        for (const std::string& script : scripts) {
            SCOPED_TRACE(script);
            const CliResult check = runCli({"--check", script});
            std::vector<std::string> lines = splitLines(readFile(script));
            std::vector<bool> drop(lines.size(), false);
            for (const ItemLine& item : itemLines(check.out)) {
                SCOPED_TRACE(item.reason);
                ASSERT_LE(static_cast<std::size_t>(item.scriptLine), lines.size());
                std::string& line = lines[static_cast<std::size_t>(item.scriptLine) - 1];
                ASSERT_EQ(line, item.statement);
                if (item.reason == "CHECK_CAR test left as a comment") {
                    // Made a real test; the fail line behind it is an item of its own.
                    line = line.substr(2);
                    std::string& endIf = lines[static_cast<std::size_t>(item.scriptLine) + 1];
                    ASSERT_EQ(endIf, "//ENDIF");
                    endIf = "ENDIF";
                } else {
                    // Arrows at objects never declared are deleted, as the Arrow box tells;
                    // the other comments are done with.
                    drop[static_cast<std::size_t>(item.scriptLine) - 1] = true;
                }
            }
            std::string fixed;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                fixed += drop[i] ? "" : lines[i] + "\n"; // an editor that saves LF
            }
            writeFile(script, fixed);
            const CliResult again = runCli({"--check", script});
            EXPECT_EQ(again.code, 0) << again.out;
            EXPECT_EQ(again.out, script + "\r\n  nothing left to do\r\n");
        }
    }
}
