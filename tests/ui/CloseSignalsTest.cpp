// The signals that ask a program to end close the window as its close box does: the settings
// are saved, a conversion in progress stops at its next line, and every earlier script stays.
#include "ui/CloseSignals.h"

#include "tests/support/Fault.h"
#include "tests/ui/WindowHarness.h"

#include <QTest>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

using brennic::test::filesIn;
using brennic::test::qs;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::WindowHarness;
using brennic::test::writeFile;
namespace fs = std::filesystem;

TEST(CloseSignals, EachIsACloseRequestThatSaves) {
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2}) {
        SCOPED_TRACE(signal);
        WindowHarness harness;
        auto& window = harness.open();
        window.show();
        const brennic::ui::CloseSignals closeSignals(window);
        harness.box("txtOutputFolder").setText(QStringLiteral("/gta2/data/"));
        std::raise(signal);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
        EXPECT_NE(readFile(harness.settings).find("\r\nOutputFolder=/gta2/data/\r\n"),
                  std::string::npos);
    }
}

TEST(CloseSignals, AConversionStopsAtItsNextLineThenTheWindowCloses) {
    WindowHarness harness;
    auto& window = harness.open();
    window.show();
    const brennic::ui::CloseSignals closeSignals(window);
    TempFolder folders;
    writeFile(folders / "gtadata" / "mission.ini",
              "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n5 SURVIVE 0\r\n"
              "[2]\r\nB, 1, nyc.cmp\r\n\r\n\r\n6 SURVIVE 0\r\n");
    writeFile(folders / "out" / "nyc_B_2.mis", "my own mission\r\n");
    harness.box("txtGTA1iniFile").setText(qs(folders.text() + "gtadata/"));
    harness.box("txtOutputFolder").setText(qs(folders.text() + "out/"));
    {
        // The signal comes as the second script starts, written aside over the earlier one.
        const brennic::test::Fault signalled(
            [](brennic::platform::FileOperation op, const fs::path& path) {
                if (op == brennic::platform::FileOperation::Create &&
                    path.filename() == "nyc_B_2.mis") {
                    std::raise(SIGTERM);
                }
                return 0;
            });
        harness.convert().click();
    }
    EXPECT_TRUE(harness.messages.empty()); // the window is closing: no box waits for a click
    const auto files = filesIn(folders / "out");
    EXPECT_EQ(files.size(), 3u); // uk/ and the two scripts: nothing written aside
    EXPECT_TRUE(files.at("nyc_A_1.mis").ends_with("LEVELEND\r\n"));
    EXPECT_EQ(files.at("nyc_B_2.mis"), "my own mission\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_NE(readFile(harness.settings).find("\r\nOutputFolder=" + folders.text() + "out/\r\n"),
              std::string::npos);
}

// Beyond the file size limit (ulimit -f) a write fails as any failed write does, where SIGXFSZ
// would end the program unsaved: the run says why, and the window goes on.
TEST(CloseSignals, AFileSizeLimitFailsTheRunInsteadOfEndingTheProgram) {
    WindowHarness harness;
    auto& window = harness.open();
    const brennic::ui::CloseSignals closeSignals(window);
    TempFolder folders;
    std::string mission = "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n";
    for (int line = 1; line <= 1000; ++line) {
        mission += std::to_string(line) + " SURVIVE 0\r\n";
    }
    writeFile(folders / "gtadata" / "mission.ini", mission);
    fs::create_directories(folders / "out");
    harness.box("txtGTA1iniFile").setText(qs(folders.text() + "gtadata/"));
    harness.box("txtOutputFolder").setText(qs(folders.text() + "out/"));
    harness.check("chkUnknown").setChecked(true); // every line becomes a comment of the script
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    harness.convert().click();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].title, QStringLiteral("D'oh! Error during conversion"));
    EXPECT_TRUE(window.isEnabled());
}

// The program itself: the window closes on SIGTERM and saves beside the program (a copy in a
// folder of its own, so that the build's own settings file stays as it is).
TEST(CloseSignals, TheProgramSavesWhenTerminated) {
    TempFolder program;
    fs::copy_file(BRENNIC_GUI, program / "brennic");
    std::string path = (program / "brennic").string();
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
    // Once SIGTERM is caught (the mask of caught signals in /proc), the window is up.
    const auto caught = [pid] {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("SigCgt:")) {
                return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1) & 1) != 0;
            }
        }
        return false;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!caught() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(readFile(program / "brennic.INI").starts_with("[BRENNIC Settings]\r\n"));
}
