// Bad input and file-system faults: every one ends as a reported failure (or a quiet result where
// the input is merely odd), never as a crash or a success, and never spoils finished scripts.
#include "engine/ConversionRun.h"
#include "platform/FaultInjection.h"
#include "tests/support/TestHost.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

using namespace brennic::engine;
using brennic::platform::FileOperation;
using brennic::test::crlf;
using brennic::test::readFile;
using brennic::test::RunFixture;
using brennic::test::writeFile;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kThreeSections = {"[1]", "A, 1, nyc.cmp", "", "", "1 SURVIVE 0",
                                                 "[2]", "B, 1, nyc.cmp", "", "", "2 SURVIVE 0",
                                                 "[3]", "C, 1, nyc.cmp", "", "", "3 SURVIVE 0"};

// Sets a fault hook for the lifetime of the object.
struct Fault {
    explicit Fault(brennic::platform::FaultHook hook) { brennic::platform::setFaultHook(hook); }
    ~Fault() { brennic::platform::setFaultHook(nullptr); }
};

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
        const RunReport report = run.run(kThreeSections);
        ASSERT_EQ(report.end, RunEnd::Failed);
        EXPECT_EQ(report.failure->number(), 61);
        // Found when B is closed at the header of C: the status text ends before C.
        EXPECT_TRUE(report.failure->description().ends_with("(line 11 of mission.ini)"));
        EXPECT_TRUE(run.host.status.ends_with("nyc_A_1.mis\r\nnyc_B_2.mis\r\n"));
        EXPECT_EQ(run.script("nyc_A_1.mis"), firstScript);
        EXPECT_FALSE(fs::exists(run.outputFolder / "nyc_C_3.mis"));
        EXPECT_TRUE(run.host.convertEnabled);
    }
}

// Scripts are written behind the conversion, which may have read far ahead when a script fails:
// the report, the status text and the files still end where the failing script was.
TEST(Faults, AFailureBehindTheConversionIsReportedWhereItHappened) {
    struct Case {
        FileOperation operation;
        int line; // create: after the header lines of 150; write: at the header of 151
        bool failingScriptExists;
    };
    for (const auto& [operation, line, failingScriptExists] :
         {Case{FileOperation::Create, 749, false}, Case{FileOperation::Write, 751, true}}) {
        SCOPED_TRACE(static_cast<int>(operation));
        RunFixture run;
        std::string bytes;
        std::string status = "Generating GTA2 mission scripts...\r\n\r\n";
        for (int i = 1; i <= 300; ++i) {
            bytes += "[" + std::to_string(i) + "]\r\nM, 1, nyc.cmp\r\n\r\n\r\n1 SURVIVE 0\r\n";
            if (i <= 150) {
                status += "nyc_M_" + std::to_string(i) + ".mis\r\n";
            }
        }
        Fault fault([operation](FileOperation op, const fs::path& path) {
            if (op == FileOperation::Create) {
                usleep(200); // a slow disk: the conversion runs ahead
            }
            return op == operation && nameEndsWith(path, "_M_150.mis") ? EIO : 0;
        });
        const RunReport report = run.runBytes(bytes);
        ASSERT_EQ(report.end, RunEnd::Failed);
        EXPECT_EQ(report.failure->number(), 57);
        EXPECT_TRUE(report.failure->description().ends_with("(line " + std::to_string(line) +
                                                            " of mission.ini)"))
            << report.failure->description();
        EXPECT_EQ(run.host.status, status);
        EXPECT_EQ(fs::exists(run.outputFolder / "nyc_M_150.mis"), failingScriptExists);
        EXPECT_FALSE(fs::exists(run.outputFolder / "nyc_M_151.mis"));
        EXPECT_FALSE(run.script("nyc_M_149.mis").empty());
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
        {"unreadable e.txt", FileOperation::OpenForReading, "e.txt", 75, false},
        {"unreadable cars.ini", FileOperation::OpenForReading, "cars.ini", 75, false},
    };
    for (const auto& [name, operation, file, number, statusReplaced] : cases) {
        SCOPED_TRACE(name);
        RunFixture run;
        writeFile(run.outputFolder / "e.txt", "[1]text\r\n");
        writeFile(run.temp / "cars.ini", "[BRENNIC Vehicles]\r\n1=BUG\r\n");
        run.host.cars = run.temp / "cars.ini";
        run.host.status = "old status";
        const int injected = number == 57 ? EIO : EACCES;
        Fault fault([operation, file, injected](FileOperation op, const fs::path& path) {
            return op == operation && nameEndsWith(path, file) ? injected : 0;
        });
        const RunReport report = run.run(kThreeSections);
        ASSERT_EQ(report.end, RunEnd::Failed);
        EXPECT_EQ(report.failure->number(), number);
        EXPECT_EQ(run.host.status != "old status", statusReplaced);
        EXPECT_FALSE(fs::exists(run.outputFolder / "nyc_A_1.mis"));
    }
}

TEST(Faults, OutputFolderRemovedDuringTheRun) {
    RunFixture run;
    const fs::path folder = run.outputFolder;
    Fault fault([folder](FileOperation op, const fs::path& path) {
        if (op == FileOperation::Create && nameEndsWith(path, "B_2.mis")) {
            fs::remove_all(folder);
        }
        return 0;
    });
    const RunReport report = run.run(kThreeSections);
    ASSERT_EQ(report.end, RunEnd::Failed);
    EXPECT_EQ(report.failure->number(), 76);
    EXPECT_EQ(run.host.status,
              "Generating GTA2 mission scripts...\r\n\r\nnyc_A_1.mis\r\nnyc_B_2.mis\r\n");
}

TEST(Faults, RealReadOnlyFolder) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    RunFixture run;
    fs::create_directory(run.outputFolder / "uk");
    fs::permissions(run.outputFolder, fs::perms::owner_read | fs::perms::owner_exec);
    const RunReport report = run.run(kThreeSections);
    fs::permissions(run.outputFolder, fs::perms::owner_all);
    ASSERT_EQ(report.end, RunEnd::Failed);
    EXPECT_EQ(report.failure->number(), 75);
}

TEST(Faults, ASmallFileSystemFillsUp) {
    RunFixture run;
    const fs::path mount = run.temp / "small";
    fs::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    }
    run.options.OutputFolder = mount.string() + "/";
    run.options.chkUnknown = true;
    std::vector<std::string> lines = {"[1]", "A, 1, nyc.cmp", "", ""};
    for (int i = 0; i < 5000; ++i) {
        lines.push_back(std::to_string(i) + " SURVIVE 0 0 0 0 0");
    }
    const RunReport report = run.run(lines);
    ::umount(mount.c_str());
    ASSERT_EQ(report.end, RunEnd::Failed);
    EXPECT_EQ(report.failure->number(), 61);
}

TEST(Faults, ASymbolicLinkWithAScriptNameIsReplacedNotFollowed) {
    RunFixture run;
    writeFile(run.temp / "precious.txt", "keep me");
    fs::create_symlink(run.temp / "precious.txt", run.outputFolder / "nyc_A_1.mis");
    ASSERT_EQ(run.run(kThreeSections).end, RunEnd::Finished);
    EXPECT_EQ(readFile(run.temp / "precious.txt"), "keep me");
    EXPECT_FALSE(fs::is_symlink(run.outputFolder / "nyc_A_1.mis"));
    EXPECT_TRUE(run.script("nyc_A_1.mis").starts_with("// A, 1, nyc.cmp\r\n"));
}

TEST(Faults, FoldersWhereInputFilesShouldBeAreAbsentFiles) {
    RunFixture run;
    fs::create_directory(run.outputFolder / "e.txt");
    fs::create_directory(run.temp / "cars.ini");
    run.host.cars = run.temp / "cars.ini";
    ASSERT_EQ(run.run(kThreeSections).end, RunEnd::Finished);
    EXPECT_EQ(run.state.vehicles.at(1), "BUG"); // the built-in names
}

TEST(BadInput, LinesAtTheCursorLimit) {
    for (const std::size_t length : {32766u, 32767u, 1u << 20}) {
        SCOPED_TRACE(length);
        RunFixture run;
        run.options.chkUnknown = true;
        const std::string line = "7 " + std::string(length - 2, 'x');
        const RunReport report = run.run({"[1]", "A, 1, nyc.cmp", "", "", line, "8 SURVIVE"});
        if (length == 32766) {
            ASSERT_EQ(report.end, RunEnd::Finished);
            EXPECT_NE(run.script("nyc_A_1.mis").find("// " + line + "\r\n// 8 SURVIVE\r\n"),
                      std::string::npos);
        } else {
            ASSERT_EQ(report.end, RunEnd::Failed);
            EXPECT_EQ(report.failure->number(), 6);
        }
    }
}

TEST(BadInput, NulBytesAndHighBytesPassThrough) {
    RunFixture run;
    run.options.chkUnknown = true;
    const std::string line("5 SUR\0VIVE \xff\xe9", 13);
    ASSERT_EQ(run.run({"[1]", std::string("A\0, 1, nyc.cmp", 14), "", "", line}).end,
              RunEnd::Finished);
    EXPECT_NE(run.script("nyc_A__1.mis").find("// " + line + "\r\n"), std::string::npos);
}

TEST(BadInput, GarbageNeverCrashesOrSucceedsWithoutAHeader) {
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        std::string bytes(static_cast<std::size_t>(4096 + round * 997), '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random() & 0xff);
        }
        if (round % 2 == 0) {
            bytes = "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n" + bytes;
        }
        RunFixture run;
        for (const auto& entry : kSwitchKeys) {
            run.options.*entry.member = true;
        }
        const RunReport report = run.runBytes(bytes);
        EXPECT_NE(report.end, RunEnd::Cancelled);
        if (report.end == RunEnd::Failed) {
            EXPECT_FALSE(report.failure->description().empty());
        }
        for (const auto& entry : fs::directory_iterator(run.temp.path())) {
            const auto name = entry.path().filename().string();
            EXPECT_TRUE(name == "gtadata" || name == "out") << name;
        }
    }
}

TEST(BadInput, ManySectionsEachGetTheirScript) {
    RunFixture run;
    std::string bytes;
    constexpr int kSections = 100000;
    for (int i = 1; i <= kSections; ++i) {
        bytes += "[" + std::to_string(i) + "]\r\nM, 1, nyc.cmp\r\n\r\n\r\n";
    }
    const RunReport report = run.runBytes(bytes);
    ASSERT_EQ(report.end, RunEnd::Finished);
    EXPECT_EQ(run.script("nyc_M_100000.mis").size(),
              run.script("nyc_M_1.mis").size() + 3); // " " before LEVELEND at the end
    EXPECT_EQ(std::distance(fs::directory_iterator(run.outputFolder), fs::directory_iterator()),
              kSections + 1); // and the uk folder
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
        const RunReport report = run.runBytes(bytes);
        EXPECT_NE(run.script("nyc_A_1.mis").find("// DUMMY\r\n \r\nLEVELEND\r\n"),
                  std::string::npos);
        if (dummies == 32767) {
            ASSERT_EQ(report.end, RunEnd::Finished);
            EXPECT_NE(run.host.status.find("Total Dummy count: \t32767\r\n"), std::string::npos);
        } else {
            ASSERT_EQ(report.end, RunEnd::Failed);
            EXPECT_EQ(report.failure->number(), 6);
            EXPECT_EQ(run.host.status.find("Statistics"), std::string::npos);
        }
    }
}
