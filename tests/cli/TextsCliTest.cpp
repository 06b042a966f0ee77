#include "tests/cli/CliRun.h"
#include "tests/support/GTA1TextEncoder.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using brennic::test::CliResult;
using brennic::test::encodeGTA1;
using brennic::test::filesIn;
using brennic::test::gta1Records;
using brennic::test::GTA1Variant;
using brennic::test::readFile;
using brennic::test::runCli;
using brennic::test::TempFolder;
using brennic::test::writeFile;
using namespace std::string_literals;

namespace {

const fs::path kExampleMission = fs::path(BRENNIC_EXAMPLES_DIR) / "gtadata" / "MISSION.INI";

// Texts 5, 6 and 7 in this order, with a key that is no number between them.
const std::string kFiveSixSeven =
    encodeGTA1(gta1Records({"[5]five", "[help1]Press F1", "[6]six", "[7]seven"}));

// The bundled example in a mission folder of its own, and an empty output folder.
struct Example {
    TempFolder temp{};
    fs::path mission = temp / "gtadata";
    fs::path output = temp / "out";

    Example() {
        fs::create_directories(mission);
        fs::create_directories(output);
        fs::copy_file(kExampleMission, mission / "MISSION.INI");
    }
    CliResult convert(std::vector<std::string> more = {}) const {
        std::vector<std::string> args = {"--mission-dir", mission.string(), "--output-dir",
                                         output.string(), "--all"};
        args.insert(args.end(), more.begin(), more.end());
        return runCli(args);
    }
};

} // namespace

// A --texts file that gives no brief text ends the program before the run: no script, no uk
// folder, no report, the output folder's e.txt as it was.
TEST(CliTexts, AFileThatGivesNoTextIsAUsageError) {
    const std::string tooLarge = "\xbf" + std::string(4 << 20, 'x');
    const std::tuple<const char*, std::optional<std::string>, std::string> cases[] = {
        {"missing.fxt", std::nullopt, " does not exist"},
        {"empty.txt", "", " gives no brief text"},
        {"no number keys.fxt", encodeGTA1(gta1Records({"[help1]a", "[01]b", "[9001]c"})),
         " gives no brief text"},
        {"only empty texts.txt", "[1]\r\n[2]  \r\nNo text\r\n", " gives no brief text"},
        {"too large.fxt", tooLarge, " is not a GTA1 text file (it holds more than 4 MB)"},
        {"too long a line.txt", "[1]" + std::string(40000, 'x') + "\r\n", "too long a line.txt)"},
    };
    for (const auto& [name, bytes, reason] : cases) {
        SCOPED_TRACE(name);
        Example example;
        writeFile(example.output / "e.txt", "[1001]mine\r\n");
        const fs::path file = example.temp / name;
        if (bytes) {
            writeFile(file, *bytes);
        }
        const auto before = filesIn(example.output);
        const CliResult run =
            example.convert({"--texts", file.string(), "--report", (example.temp / "r").string()});
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(run.err.starts_with("brennic-cli: --texts: ")) << run.err;
        EXPECT_TRUE(run.err.ends_with(reason + "\n")) << run.err;
        EXPECT_EQ(filesIn(example.output), before);
        EXPECT_FALSE(fs::exists(example.temp / "r"));
    }
    Example example;
    fs::create_directory(example.temp / "folder.fxt");
    const CliResult folder = example.convert({"--texts", (example.temp / "folder.fxt").string()});
    EXPECT_EQ(folder.code, 2);
    EXPECT_TRUE(folder.err.ends_with("folder.fxt is not a file\n")) << folder.err;
}

TEST(CliAddTexts, IntoANewAndAnExistingTextFile) {
    TempFolder temp;
    const fs::path fxt = temp / "ENGLISH.FXT";
    writeFile(fxt, kFiveSixSeven);
    const std::string eTxt = (temp / "E.TXT").string();
    const std::tuple<const char*, std::optional<std::string>, std::string, std::string> cases[] = {
        {"new", std::nullopt, "[5]five\r\n[6]six\r\n[7]seven\r\n", "3 texts added to "},
        {"a last line without a line end", "[6]mine\r\n[7]x", "[6]mine\r\n[7]x\r\n[5]five\r\n",
         "1 text added to "},
        {"nothing to add", "[5]a\n[6]b\n[7]c\n", "[5]a\n[6]b\n[7]c\n", "0 texts added to "},
    };
    for (const auto& [what, before, after, said] : cases) {
        SCOPED_TRACE(what);
        fs::remove(eTxt);
        if (before) {
            writeFile(eTxt, *before);
        }
        const CliResult run = runCli({"--add-texts", fxt.string(), eTxt});
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.out, said + eTxt + "\r\n");
        EXPECT_TRUE(run.err.empty()) << run.err;
        EXPECT_EQ(readFile(eTxt), after);
    }

    // A file cut short gives the texts before the cut, and says so.
    writeFile(fxt, encodeGTA1("[5]five\0[6]si"s, GTA1Variant::Demo));
    fs::remove(eTxt);
    const CliResult cut = runCli({"--add-texts", fxt.string(), eTxt});
    EXPECT_EQ(cut.code, 0);
    EXPECT_EQ(cut.err, "brennic-cli: warning: " + fxt.string() +
                           " is cut short (it does not end with \"[]\"); only the texts before "
                           "the cut were read\n");
    EXPECT_EQ(readFile(eTxt), "[5]five\r\n");
}

// A failure says why and leaves the text file as it was; a usage error touches nothing.
TEST(CliAddTexts, FailuresAndUsageErrors) {
    TempFolder temp;
    const std::string fxt = (temp / "ENGLISH.FXT").string();
    const std::string plain = (temp / "plain.fxt").string();
    const std::string eTxt = (temp / "e.txt").string();
    writeFile(fxt, kFiveSixSeven);
    writeFile(plain, "[5]five\r\n");
    writeFile(eTxt, "[6]mine");
    fs::create_directory(temp / "folder");
    const auto before = filesIn(temp.path());

    const CliResult notGTA1 = runCli({"--add-texts", plain, eTxt});
    EXPECT_EQ(notGTA1.code, 1);
    EXPECT_EQ(notGTA1.err, "brennic-cli: " + plain +
                               " is not a GTA1 text file (its first byte is neither BF nor A6)\n");
    EXPECT_TRUE(notGTA1.out.empty());

    const std::tuple<std::vector<std::string>, std::string> usage[] = {
        {{"--add-texts", (temp / "none.fxt").string(), eTxt}, "none.fxt does not exist\n"},
        {{"--add-texts", (temp / "folder").string(), eTxt}, "folder is not a file\n"},
        {{"--add-texts", fxt, (temp / "folder").string()}, "folder is not a file\n"},
        {{"--add-texts", fxt, (temp / "none" / "e.txt").string()}, "e.txt does not exist\n"},
        {{"--add-texts", fxt, fxt}, "is the GTA1 text file itself\n"},
        {{"--add-texts", fxt, eTxt, "--all"},
         "--add-texts converts nothing: --all does not go "
         "with it\n"},
        {{"--add-texts", fxt}, ""},
    };
    for (const auto& [args, reason] : usage) {
        SCOPED_TRACE(args.back());
        const CliResult run = runCli(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.err.ends_with(reason)) << run.err;
    }
    EXPECT_EQ(filesIn(temp.path()), before);
}

// Texts from a GTA1 text file beside the mission file are the texts of the e.txt that --add-texts
// makes of it: the two runs write the same scripts and status text.
TEST(CliAddTexts, ARunWithTheGTA1FileWritesWhatARunWithItsTextFileWrites) {
    const std::string texts = encodeGTA1(gta1Records(
        {"[1001]Get to the bank, the alarm is \xc3\xa9off  ", "[1002]The\r\nBank Job",
         "[help1]Press F1", "[1400]Hurry!\tNow", "[2501]Mission failed!", "[1001]A second 1001"}));
    Example fromGTA1;
    writeFile(fromGTA1.mission / "ENGLISH.FXT", texts);
    const CliResult gta1Run = fromGTA1.convert();
    ASSERT_EQ(gta1Run.code, 0) << gta1Run.err;

    Example fromText;
    const CliResult added = runCli({"--add-texts", (fromGTA1.mission / "ENGLISH.FXT").string(),
                                    (fromText.output / "e.txt").string()});
    ASSERT_EQ(added.code, 0) << added.err;
    const CliResult textRun = fromText.convert();
    ASSERT_EQ(textRun.code, 0) << textRun.err;

    EXPECT_EQ(gta1Run.out, textRun.out);
    auto scripts = filesIn(fromText.output);
    scripts.erase("e.txt");
    EXPECT_EQ(filesIn(fromGTA1.output), scripts);
    EXPECT_NE(gta1Run.out.find("Total Brief count: \t\t5"), std::string::npos);
    EXPECT_NE(readFile(fromGTA1.output / "nyc_Bank Job_1.mis")
                  .find("// MOBILE_BRIEF 106Get to the bank, the alarm is \xe9off\r\n"),
              std::string::npos);
}
