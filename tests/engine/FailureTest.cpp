// Bad input, file-system faults and interruptions: every one ends as a reported failure (or a
// warning where the input is merely odd), never as a crash or a success, and never spoils
// finished scripts or a file the run would have replaced.
#include "engine/ConversionRun.h"
#include "tests/support/Fault.h"
#include "tests/support/TestHost.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace brennic::engine;
using brennic::platform::FileOperation;
using brennic::test::allSwitchesOn;
using brennic::test::crlf;
using brennic::test::Fault;
using brennic::test::filesIn;
using brennic::test::readFile;
using brennic::test::RunFixture;
using brennic::test::writeFile;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kThreeSections = {"[1]", "A, 1, nyc.cmp", "", "", "1 SURVIVE 0",
                                                 "[2]", "B, 1, nyc.cmp", "", "", "2 SURVIVE 0",
                                                 "[3]", "C, 1, nyc.cmp", "", "", "3 SURVIVE 0"};

bool nameEndsWith(const fs::path& path, const char* suffix) {
    return path.filename().string().ends_with(suffix);
}

std::string goodFirstScript() {
    RunFixture run;
    run.options.chkUnknown = true;
    EXPECT_EQ(run.run(kThreeSections).end, RunEnd::Finished);
    return run.script("nyc_A_1.mis");
}

} // namespace

TEST(Faults, AFullDiskEndsTheRunAndKeepsFinishedScripts) {
    const std::string firstScript = goodFirstScript();
    for (const FileOperation operation : {FileOperation::Write, FileOperation::Close}) {
        SCOPED_TRACE(static_cast<int>(operation));
        RunFixture run;
        run.options.chkUnknown = true;
        Fault fault([operation](FileOperation op, const fs::path& path) {
            return op == operation && nameEndsWith(path, "B_2.mis") ? ENOSPC : 0;
        });
        const RunOutcome outcome = run.run(kThreeSections);
        ASSERT_EQ(outcome.end, RunEnd::Failed);
        EXPECT_EQ(outcome.failure->number(), 61);
        // Found when B is closed at the header of C: the status text ends before C.
        EXPECT_TRUE(outcome.failure->description().ends_with("(line 11 of mission.ini)"));
        EXPECT_TRUE(run.host.status.ends_with("nyc_A_1.mis\r\nnyc_B_2.mis\r\n"));
        EXPECT_EQ(run.script("nyc_A_1.mis"), firstScript);
        EXPECT_FALSE(fs::exists(run.outputFolder / "nyc_C_3.mis"));
    }
}

TEST(Faults, FilesThatCannotBeCreatedOrRead) {
    struct Case {
        const char* name;
        FileOperation operation;
        const char* file;
        int number;
        bool statusReplaced;
    };
    const Case cases[] = {
        {"read-only output folder", FileOperation::Create, "A_1.mis", 75, true},
        {"unreadable mission file", FileOperation::OpenForReading, "mission.ini", 75, false},
        {"mission file read error", FileOperation::Read, "mission.ini", 57, true},
    };
    for (const auto& [name, operation, file, number, statusReplaced] : cases) {
        SCOPED_TRACE(name);
        RunFixture run;
        run.host.status = "old status";
        const int injected = number == 57 ? EIO : EACCES;
        Fault fault([operation, file, injected](FileOperation op, const fs::path& path) {
            return op == operation && nameEndsWith(path, file) ? injected : 0;
        });
        const RunOutcome outcome = run.run(kThreeSections);
        EXPECT_EQ(run.host.status != "old status", statusReplaced);
        ASSERT_EQ(outcome.end, RunEnd::Failed);
        EXPECT_EQ(outcome.failure->number(), number);
        EXPECT_FALSE(fs::exists(run.outputFolder / "nyc_A_1.mis"));
    }
}

#ifndef _WIN32 // there the open output folder can be neither removed nor moved
TEST(Faults, OutputFolderRemovedDuringTheRun) {
    RunFixture run;
    const fs::path folder = run.outputFolder;
    Fault fault([folder](FileOperation op, const fs::path& path) {
        if (op == FileOperation::Create && nameEndsWith(path, "B_2.mis")) {
            fs::remove_all(folder);
        }
        return 0;
    });
    const RunOutcome outcome = run.run(kThreeSections);
    ASSERT_EQ(outcome.end, RunEnd::Failed);
    EXPECT_EQ(outcome.failure->number(), 76);
    EXPECT_EQ(run.host.status,
              "Generating GTA2 mission scripts...\r\n\r\nnyc_A_1.mis\r\nnyc_B_2.mis\r\n");
}
#endif

TEST(Warnings, OddInputFilesAreNamedAndTheRunGoesOn) {
    struct Case {
        const char* name;
        std::function<void(RunFixture&)> prepare;
        const char* warning;
        const char* vehicle1;
    };
    const Case cases[] = {
        {"folders named e.txt and cars.ini",
         [](RunFixture& run) {
             fs::create_directory(run.outputFolder / "E.TXT");
             fs::create_directory(run.temp / "cars.ini");
             run.cars = run.temp / "cars.ini";
         },
         "E.TXT is not a readable file", "BUG"},
        {"no vehicle section",
         [](RunFixture& run) {
             writeFile(run.temp / "cars.ini", "[Vehicles]\r\n1=WRONG\r\n");
             run.cars = run.temp / "cars.ini";
         },
         "has no [BRENNIC Vehicles] section; every vehicle name is empty", ""},
#ifndef _WIN32
        // Reading a FIFO would wait for a writer; a link may lead nowhere.
        {"a FIFO named e.txt",
         [](RunFixture& run) {
             ASSERT_EQ(::mkfifo((run.outputFolder / "e.txt").c_str(), 0644), 0);
         },
         "e.txt is not a readable file; no brief texts were read from it", "BUG"},
        {"a link named e.txt that leads nowhere",
         [](RunFixture& run) { fs::create_symlink("nowhere.txt", run.outputFolder / "E.txt"); },
         "E.txt is not a readable file; no brief texts were read from it", "BUG"},
#endif
        {"lines behind a Ctrl-Z",
         [](RunFixture& run) {
             writeFile(run.missionFolder / "mission.ini",
                       crlf(kThreeSections) + "\x1a\r\n7 SURVIVE 0\r\n");
         },
         "mission.ini goes on behind the end-of-file mark (Ctrl-Z)", "BUG"},
    };
    for (const auto& [name, prepare, warning, vehicle1] : cases) {
        SCOPED_TRACE(name);
        RunFixture run;
        writeFile(run.missionFolder / "mission.ini", crlf(kThreeSections) + "\x1a \r\n\x1a");
        prepare(run);
        ASSERT_EQ(run.convert().end, RunEnd::Finished);
        ASSERT_EQ(run.host.warnings.size(),
                  name == std::string("folders named e.txt and cars.ini") ? 2u : 1u);
        EXPECT_NE(run.host.warnings.back().find(warning), std::string::npos)
            << run.host.warnings.back();
        EXPECT_EQ(run.state.vehicles.at(1), vehicle1);
    }
}

// A script whose name a file already holds is written aside and put in its place only when it
// is complete: whatever ends the run early, the earlier file stays as it was.
TEST(Replacing, AnEarlierScriptSurvivesEveryFailure) {
    const std::string handMade = "// my own finished mission\r\n";
    struct Case {
        const char* name;
        std::function<void(RunFixture&)> prepare;
        std::vector<std::string> lines;
        int number;
    };
    const std::vector<std::string> badLine = {"[1]", "A, 1, nyc.cmp", "", "", "5 CAR_ON x"};
    const Case cases[] = {
        {"full disk",
         [](RunFixture&) {
             brennic::platform::setFaultHook([](FileOperation op, const fs::path& path) {
                 return op == FileOperation::Write && nameEndsWith(path, "A_1.mis") ? ENOSPC : 0;
             });
         },
         kThreeSections, 61},
        {"rename refused",
         [](RunFixture&) {
             brennic::platform::setFaultHook([](FileOperation op, const fs::path&) {
                 return op == FileOperation::Replace ? EIO : 0;
             });
         },
         kThreeSections, 57},
        {"bad line", [](RunFixture&) {}, badLine, 13},
        {"interrupted",
         [](RunFixture& run) {
             int lines = 0;
             run.host.stop = [lines]() mutable { return ++lines > 4; };
         },
         kThreeSections, 18},
    };
    for (const auto& [name, prepare, lines, number] : cases) {
        SCOPED_TRACE(name);
        RunFixture run;
        run.options.chkFuturecar = true;
        writeFile(run.outputFolder / "nyc_A_1.mis", handMade);
        prepare(run);
        const RunOutcome outcome = run.run(lines);
        brennic::platform::setFaultHook(nullptr);
        ASSERT_EQ(outcome.end, RunEnd::Failed);
        EXPECT_EQ(outcome.failure->number(), number);
        const auto files = filesIn(run.outputFolder);
        EXPECT_EQ(files.at("nyc_A_1.mis"), handMade);
        for (const auto& [file, bytes] : files) {
            EXPECT_TRUE(file == "uk/" || file.ends_with(".mis")) << file; // nothing written aside
        }
    }
    // A complete replacement takes the earlier file's place and its permissions.
    RunFixture run;
    run.options.chkUnknown = true;
    writeFile(run.outputFolder / "nyc_A_1.mis", handMade);
    const auto permissions = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(run.outputFolder / "nyc_A_1.mis", permissions);
    ASSERT_EQ(run.run(kThreeSections).end, RunEnd::Finished);
    EXPECT_EQ(run.script("nyc_A_1.mis"), goodFirstScript());
#ifndef _WIN32 // where files have permission bits
    EXPECT_EQ(fs::status(run.outputFolder / "nyc_A_1.mis").permissions(), permissions);
#endif
    EXPECT_EQ(filesIn(run.outputFolder).size(), 4u);
}

// A script its user made read-only, or one another program holds open, is kept, and the report
// says which and names it, in the words and numbers of classic BASIC.
TEST(Replacing, AKeptScriptIsNamedWithTheReason) {
    struct Case {
        const char* name;
        int injected; // 0: the file is read-only
        int number;
        const char* description;
    };
    const Case cases[] = {
        {"read-only", 0, 75, "Path/File access error: the file is read-only (replacing "},
        {"in use", EBUSY, 70, "File in use by another program (writing "},
    };
    for (const auto& [name, injected, number, description] : cases) {
        SCOPED_TRACE(name);
        RunFixture run;
        const fs::path script = run.outputFolder / "nyc_A_1.mis";
        writeFile(script, "// my own finished mission\r\n");
        if (injected == 0) {
            fs::permissions(script, fs::perms::owner_read);
        }
        Fault fault([injected](FileOperation op, const fs::path&) {
            return op == FileOperation::Replace ? injected : 0;
        });
        const RunOutcome outcome = run.run(kThreeSections);
        ASSERT_EQ(outcome.end, RunEnd::Failed);
        EXPECT_EQ(outcome.failure->number(), number);
        const std::string& text = outcome.failure->description();
        EXPECT_TRUE(text.starts_with(description)) << text;
        EXPECT_NE(text.find("nyc_A_1.mis) (line "), std::string::npos) << text;
        fs::permissions(script, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(readFile(script), "// my own finished mission\r\n");
    }
}

// A failed run that cannot remove what it wrote aside (a folder made read-only meanwhile) says
// which file it left; the next run into the folder removes it.
TEST(Replacing, WhatCannotBeRemovedIsNamedAndTheNextRunRemovesIt) {
    const std::string handMade = "// my own finished mission\r\n";
    RunFixture run;
    writeFile(run.outputFolder / "nyc_A_1.mis", handMade);
    {
        const Fault fault([](FileOperation op, const fs::path& path) {
            return op == FileOperation::Write && nameEndsWith(path, "A_1.mis") ? ENOSPC
                   : op == FileOperation::Remove                               ? EACCES
                                                                               : 0;
        });
        const RunOutcome outcome = run.run(kThreeSections);
        ASSERT_EQ(outcome.end, RunEnd::Failed);
        const std::string& description = outcome.failure->description();
        EXPECT_NE(description.find("; Permission denied (removing the unfinished "),
                  std::string::npos)
            << description;
        EXPECT_NE(description.find("out/.nyc_A_1.mis.brennic-partial-"), std::string::npos)
            << description;
    }
    EXPECT_EQ(filesIn(run.outputFolder).size(), 3u);
    EXPECT_EQ(run.script("nyc_A_1.mis"), handMade);
    ASSERT_EQ(run.convert().end, RunEnd::Finished);
    EXPECT_EQ(filesIn(run.outputFolder).size(), 4u); // the three scripts and uk/
}

// The run reads its vehicle file (and, from the command line, its settings file) from wherever
// the user keeps it; a script of the same name in the output folder would replace it.
TEST(Replacing, NoScriptReplacesAFileTheRunReads) {
    RunFixture run;
    const std::string vehicles = "[BRENNIC Vehicles]\r\n1=MY CAR\r\n";
    writeFile(run.outputFolder / "NYC_B_2.MIS", vehicles);
    run.cars = run.outputFolder / "NYC_B_2.MIS";
    RunOutcome outcome = run.run(kThreeSections);
    ASSERT_EQ(outcome.end, RunEnd::Failed);
    EXPECT_EQ(outcome.failure->number(), 75);
    EXPECT_EQ(outcome.failure->description(),
              "Path/File access error: " + run.options.OutputFolder + "nyc_B_2.mis" +
                  " is the vehicle file of this run; no script replaces it (line 9 of "
                  "mission.ini)");
    EXPECT_EQ(readFile(run.outputFolder / "NYC_B_2.MIS"), vehicles);

    run.cars.reset();
    outcome =
        ConversionRun({.options = run.options,
                       .otherInputs = {{run.outputFolder / "NYC_B_2.MIS", "the settings file"}}},
                      run.state, run.host);
    ASSERT_EQ(outcome.end, RunEnd::Failed);
    EXPECT_NE(outcome.failure->description().find(" is the settings file of this run"),
              std::string::npos);
    EXPECT_EQ(readFile(run.outputFolder / "NYC_B_2.MIS"), vehicles);
}

// The output folder is opened once: giving its path to another folder during the run cannot
// send the later scripts there (on Windows the folder cannot even be moved while the run has it).
TEST(Faults, TheOutputFolderCannotBeSwappedDuringTheRun) {
    RunFixture run;
    const fs::path moved = run.temp / "moved";
    const fs::path elsewhere = run.temp / "elsewhere";
    fs::create_directory(elsewhere);
    const fs::path output = run.outputFolder;
    std::error_code moving;
    Fault fault([&](FileOperation op, const fs::path& path) {
        if (op == FileOperation::Create && nameEndsWith(path, "B_2.mis")) {
            fs::rename(output, moved, moving);
            if (!moving) {
                fs::create_directory_symlink(elsewhere, output);
            }
        }
        return 0;
    });
    ASSERT_EQ(run.run(kThreeSections).end, RunEnd::Finished);
#ifdef _WIN32
    EXPECT_TRUE(moving);
    EXPECT_TRUE(fs::exists(output / "nyc_C_3.mis"));
#else
    EXPECT_TRUE(fs::exists(moved / "nyc_C_3.mis"));
#endif
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

// A field that must name a row of the object table fails the run at its line: 9 outside the
// rows, 13 where it is no number. What was written before the failure stays.
TEST(BadInput, FieldsThatNameNoRowOfTheTable) {
    struct Case {
        const char* line;
        int number;
        const char* written; // behind the LEVELSTART block
    };
    const Case cases[] = {
        {"1 (1,1,1) PARKED 101 0", 9, ""},
        {"1 (1,1,1) HELLS -1 0", 9, ""},
        {"1 (1,1,1) FUTURECAR 100.6 0", 9, ""},
        {"60001 (1,1,1) FUTURECAR 4 0", 9, "CAR_DATA OBJECT60001 // 60001\r\n"},
        {"x (1,1,1) FUTURECAR 4 0", 13, "CAR_DATA OBJECTx // x\r\n"},
        {"60001 (1,1,1) DOOR 1", 9, ""},
        {"1.5x (1,1,1) DOOR 1", 13, ""},
        {"1 (1,1,1) PED 0 0", 13, ""}, // no appearance
        {"1 (1,1,1) PED 0 0 x1", 13, ""},
        {"60001 (1,1,1) FUTUREPED 0 0", 9, ""},
        {"-1 (1,1,1) FUTUREPED 0 0", 9, ""},
        {"7a (1,1,1) FUTUREPED 0 0", 13, ""},
        {"60001 (1,1,1) POWERUP 1 0", 9, ""},
        {"x (1,1,1) POWERUP 1 0", 13, ""},
        {"5 CAR_ON 60001", 9, ""},
        {"5 CAR_ON x", 13, ""},
        {"102 PED_ON abc", 13, ""},
        {"102 PED_ON 12x", 13, ""},
        {"102 PED_ON ", 13, ""},
        {"102 PED_ON -1", 9, ""},
        {"102 PED_ON 60001", 9, ""},
        {"103 POWERUP_ON abc", 13, ""},
        {"103 POWERUP_ON -5", 9, ""},
        {"2300 ARROW -1 0 0 0", 9, ""},
        {"2300 ARROW 60001", 9, ""},
        {"2300 ARROW 60000.6", 9, ""},
        {"2400 PARK -1 0 0 0 5000", 9, ""},
        {"2400 PARK 60001", 9, ""},
    };
    for (const auto& [line, number, written] : cases) {
        SCOPED_TRACE(line);
        RunFixture run;
        run.options = allSwitchesOn(run.options);
        run.options.chkPowerupRespawn = false; // powerups become table rows
        const RunOutcome outcome = run.run({"[1]", "A, 1, xyz.cmp", "", "", line});
        ASSERT_EQ(outcome.end, RunEnd::Failed);
        EXPECT_EQ(outcome.failure->number(), number);
        EXPECT_TRUE(
            run.script("xyz_A_1.mis").ends_with(std::string(" \r\nLEVELSTART\r\n \r\n") + written));
    }
}

TEST(BadInput, LinesAtTheCursorLimit) {
    for (const std::size_t length : {32766u, 32767u, 1u << 20}) {
        SCOPED_TRACE(length);
        RunFixture run;
        run.options.chkUnknown = true;
        const std::string line = "7 " + std::string(length - 2, 'x');
        const RunOutcome outcome = run.run({"[1]", "A, 1, nyc.cmp", "", "", line, "8 SURVIVE"});
        if (length == 32766) {
            ASSERT_EQ(outcome.end, RunEnd::Finished);
            EXPECT_NE(run.script("nyc_A_1.mis").find("// " + line + "\r\n// 8 SURVIVE\r\n"),
                      std::string::npos);
        } else {
            ASSERT_EQ(outcome.end, RunEnd::Failed);
            EXPECT_EQ(outcome.failure->number(), 6);
        }
    }
}

TEST(BadInput, RunTotalsReach32767AndFailPastIt) {
    for (const int dummies : {32767, 32768}) {
        SCOPED_TRACE(dummies);
        RunFixture run;
        run.options.chkDummy = true;
        // The count runs across sections, so the first script is finished before the overflow.
        std::string bytes = "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n1 1 (1,1,1) DUMMY\r\n";
        bytes += "[2]\r\nB, 1, nyc.cmp\r\n\r\n\r\n";
        for (int i = 1; i < dummies; ++i) {
            bytes += "2 1 (1,1,1) DUMMY\r\n";
        }
        const RunOutcome outcome = run.runBytes(bytes);
        EXPECT_NE(run.script("nyc_A_1.mis").find("// DUMMY\r\n \r\nLEVELEND\r\n"),
                  std::string::npos);
        if (dummies == 32767) {
            ASSERT_EQ(outcome.end, RunEnd::Finished);
            EXPECT_NE(run.host.status.find("Total Dummy count: \t32767\r\n"), std::string::npos);
        } else {
            ASSERT_EQ(outcome.end, RunEnd::Failed);
            EXPECT_EQ(outcome.failure->number(), 6);
            EXPECT_EQ(run.host.status.find("Statistics"), std::string::npos);
        }
    }
}
