// brennic-cli as a process: what only a real program meets (signals, a standard output that
// cannot be written, the memory a hostile file asks for).
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
namespace fs = std::filesystem;

namespace {

struct Finished {
    int status = 0;
    long peakKiB = 0;
    std::string out{};
    std::string err{};
};

class Process {
  public:
    // Starts brennic-cli with the arguments; its standard output goes to outFd when given, else
    // to a file of the temp folder, and standard error to a file.
    Process(const TempFolder& temp, const std::vector<std::string>& args, int outFd = -1)
        : m_out(temp / "stdout.txt"), m_err(temp / "stderr.txt") {
        std::vector<std::string> all = {BRENNIC_CLI};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& arg : all) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (outFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, outFd, 1);
        } else {
            posix_spawn_file_actions_addopen(&actions, 1, m_out.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
        posix_spawn_file_actions_addopen(&actions, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            ADD_FAILURE() << "cannot start " << argv[0];
        }
        posix_spawn_file_actions_destroy(&actions);
    }

    void signal(int number) const { ::kill(m_pid, number); }

    // Whether the program has the file open, as Linux shows it.
    bool hasOpen(const fs::path& file) const {
        std::error_code error;
        for (const auto& fd :
             fs::directory_iterator("/proc/" + std::to_string(m_pid) + "/fd", error)) {
            if (fs::read_symlink(fd.path(), error) == file) {
                return true;
            }
        }
        return false;
    }

    // Waits for the end; a program still running after the timeout is killed and fails the test.
    Finished wait(std::chrono::seconds timeout = std::chrono::seconds(120)) {
        Finished finished;
        rusage usage{};
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (::wait4(m_pid, &finished.status, WNOHANG, &usage) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "still running after " << timeout.count() << " s";
                ::kill(m_pid, SIGKILL);
                ::wait4(m_pid, &finished.status, 0, &usage);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        finished.peakKiB = usage.ru_maxrss;
        finished.out = readFile(m_out);
        finished.err = readFile(m_err);
        return finished;
    }

  private:
    fs::path m_out;
    fs::path m_err;
    pid_t m_pid = 0;
};

struct Folders {
    TempFolder temp{};
    fs::path mission = temp / "gtadata";
    fs::path output = temp / "out";
    Folders() { fs::create_directories(output); }
    std::vector<std::string> args() const {
        return {"--mission-dir", mission.string(), "--output-dir", output.string(), "--all"};
    }
};

// One section of many lines, so that the run lasts a while.
std::string longMission(int lines) {
    std::string bytes = "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n";
    for (int i = 0; i < lines; ++i) {
        bytes += std::to_string(i) + " 1 (100,120,4) TARGET 1\r\n"; // no count to overflow
    }
    return bytes;
}

bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

TEST(Process, AStatusTextThatCannotBeWrittenIsAFailure) {
    Folders folders;
    writeFile(folders.mission / "mission.ini", longMission(10));
    Process normal(folders.temp, folders.args());
    ASSERT_TRUE(exitedWith(normal.wait().status, 0));
    const std::string script = readFile(folders.output / "nyc_A_1.mis");

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]); // nobody reads: a write fails with EPIPE instead of killing the program
    const int full = ::open("/dev/full", O_WRONLY);
    for (const int fd : {ends[1], full}) {
        SCOPED_TRACE(fd);
        fs::remove(folders.output / "nyc_A_1.mis");
        fs::remove(folders.temp / "report.txt");
        std::vector<std::string> args = folders.args();
        args.insert(args.end(), {"--report", (folders.temp / "report.txt").string()});
        Process process(folders.temp, args, fd);
        const Finished finished = process.wait();
        EXPECT_TRUE(exitedWith(finished.status, 1)) << finished.status;
        EXPECT_NE(finished.err.find("could not be written"), std::string::npos);
        EXPECT_EQ(readFile(folders.output / "nyc_A_1.mis"), script);
        EXPECT_TRUE(readFile(folders.temp / "report.txt").starts_with("nyc_A_1.mis\r\n"));
    }
    ::close(ends[1]);
    ::close(full);
}

// Once the replacement is being written aside, the run is in the middle of the script.
void waitUntilWritingAside(const fs::path& output) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::distance(fs::directory_iterator(output), fs::directory_iterator()) < 3 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

// Whatever asks the run to end, short of SIGKILL (a closed terminal, Ctrl+C, Ctrl+\\, kill), stops
// it at its next line with "Interrupted", as the shell numbers the signal.
TEST(Process, ASignalStopsTheRunAndKeepsEarlierWork) {
    for (const auto& [signal, code] :
         {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129},
          std::pair{SIGQUIT, 131}, std::pair{SIGUSR1, 138}}) {
        SCOPED_TRACE(signal);
        Folders folders;
        writeFile(folders.mission / "mission.ini", longMission(400000));
        writeFile(folders.output / "nyc_A_1.mis", "my own mission\r\n");
        Process process(folders.temp, folders.args());
        waitUntilWritingAside(folders.output);
        process.signal(signal);
        const Finished finished = process.wait();
        EXPECT_TRUE(exitedWith(finished.status, code)) << finished.status;
        EXPECT_EQ(finished.out, "Generating GTA2 mission scripts...\r\n\r\nnyc_A_1.mis\r\n");
        EXPECT_NE(finished.err.find("Error description: Interrupted"), std::string::npos);
        EXPECT_EQ(readFile(folders.output / "nyc_A_1.mis"), "my own mission\r\n");
        EXPECT_EQ(entriesIn(folders.output), 2u); // the script and uk/: nothing written aside
    }
}

// A run killed outright (kill -9, a power loss) cannot clean up: what it wrote aside says what it
// is, and the next run into the folder removes it.
TEST(Process, WhatARunKilledOutrightLeftIsRemovedByTheNext) {
    Folders folders;
    writeFile(folders.mission / "mission.ini", longMission(400000));
    writeFile(folders.output / "nyc_A_1.mis", "my own mission\r\n");
    Process killed(folders.temp, folders.args());
    waitUntilWritingAside(folders.output);
    killed.signal(SIGKILL);
    killed.wait();
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folders.output)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(names[0].starts_with(".nyc_A_1.mis.brennic-partial-")) << names[0];
    EXPECT_EQ(readFile(folders.output / "nyc_A_1.mis"), "my own mission\r\n");

    writeFile(folders.mission / "mission.ini", longMission(1));
    Process next(folders.temp, folders.args());
    EXPECT_TRUE(exitedWith(next.wait().status, 0));
    EXPECT_EQ(entriesIn(folders.output), 2u);
}

// A run that starts while another writes into the same folder leaves the other's work alone.
TEST(Process, TwoRunsIntoOneFolderAtOnce) {
    Folders folders;
    writeFile(folders.mission / "mission.ini", longMission(400000));
    writeFile(folders.output / "nyc_A_1.mis", "my own mission\r\n");
    writeFile(folders.temp / "other" / "mission.ini", "[1]\r\nB, 1, nyc.cmp\r\n\r\n\r\n");
    Process first(folders.temp, folders.args());
    waitUntilWritingAside(folders.output);
    Process second(folders.temp, {"--mission-dir", (folders.temp / "other").string(),
                                  "--output-dir", folders.output.string()});
    EXPECT_TRUE(exitedWith(second.wait().status, 0));
    EXPECT_TRUE(exitedWith(first.wait().status, 0));
    // Its end only: a child started by posix_spawn counts this process's peak memory as its own.
    std::ifstream script(folders.output / "nyc_A_1.mis", std::ios::binary | std::ios::ate);
    script.seekg(-16, std::ios::end);
    std::string end(16, '\0');
    script.read(end.data(), 16);
    EXPECT_EQ(end, " \r\n \r\nLEVELEND\r\n");
    EXPECT_TRUE(fs::exists(folders.output / "nyc_B_1.mis"));
    EXPECT_EQ(entriesIn(folders.output), 3u);
}

// A file size limit (ulimit -f) fails the write that reaches it, as a full disk would, instead of
// killing the run halfway.
TEST(Process, AFileSizeLimitFailsTheRun) {
    Folders folders;
    writeFile(folders.mission / "mission.ini", longMission(10000));
    writeFile(folders.output / "nyc_A_1.mis", "my own mission\r\n");
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 1 << 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0); // inherited by the program
    Process process(folders.temp, folders.args());
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const Finished finished = process.wait();
    EXPECT_TRUE(exitedWith(finished.status, 1)) << finished.status;
    EXPECT_NE(finished.err.find("Error description: File too large (writing "), std::string::npos)
        << finished.err;
    EXPECT_EQ(readFile(folders.output / "nyc_A_1.mis"), "my own mission\r\n");
    EXPECT_EQ(entriesIn(folders.output), 2u);
}

// "--report /dev/stdout" with standard output in a file puts the report behind the status text
// (a pipe or terminal is written into as any FIFO or device).
TEST(Process, AReportToStandardOutputFollowsTheStatusText) {
    Folders folders;
    writeFile(folders.mission / "mission.ini", longMission(10));
    std::vector<std::string> args = folders.args();
    args.insert(args.end(), {"--report", (folders.temp / "report.txt").string()});
    Process toFile(folders.temp, args);
    const Finished expected = toFile.wait();
    ASSERT_TRUE(exitedWith(expected.status, 0));
    args.back() = "/dev/stdout";
    Process intoOutput(folders.temp, args);
    const Finished written = intoOutput.wait();
    EXPECT_TRUE(exitedWith(written.status, 0)) << written.err;
    EXPECT_EQ(written.out, expected.out + readFile(folders.temp / "report.txt"));
}

TEST(Process, AHugeLineIsNeverHeldWhole) {
    Folders folders;
    fs::create_directories(folders.mission);
    {
        // Written a piece at a time: the test's own memory counts for the program until it starts.
        std::ofstream file(folders.mission / "mission.ini", std::ios::binary);
        file << "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n5 ";
        const std::string piece(1 << 20, 'x');
        for (int i = 0; i < 64; ++i) {
            file << piece;
        }
    }
    Process process(folders.temp, folders.args());
    const Finished finished = process.wait();
    EXPECT_TRUE(exitedWith(finished.status, 1));
    EXPECT_NE(finished.err.find("the line position passes 32767 (line 5 of mission.ini)"),
              std::string::npos);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's own bookkeeping is resident memory too
    EXPECT_LT(finished.peakKiB, 32 << 10);
#endif
}

// A check ends by its own result or by a signal, never by waiting for input: a FIFO without a
// writer and a device are refused before anything is read, and a signal during the reading of a
// long script ends the check with 128 + its number, so "--check *.mis && compile" compiles
// nothing after Ctrl+C.
TEST(Process, ACheckEndsWithoutWaitingAndStopsAtASignal) {
    TempFolder temp;
    const fs::path fifo = temp / "no-writer.mis";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& special : {fifo, fs::path("/dev/zero")}) {
        SCOPED_TRACE(special.string());
        Process process(temp, {"--check", special.string()});
        const Finished finished = process.wait(std::chrono::seconds(20));
        EXPECT_TRUE(exitedWith(finished.status, 2)) << finished.status;
        EXPECT_EQ(finished.out, "");
        EXPECT_NE(finished.err.find(special == fifo ? "is a FIFO" : "is a device"),
                  std::string::npos)
            << finished.err;
    }

    const fs::path script = temp / "long-and-clean.mis";
    {
        std::ofstream file(script, std::ios::binary);
        file
            << "ARROW_DATA arrow\r\nOBJ_DATA thing = ( 1.0 , 2.0 , 3.0 ) 0 PHONE\r\nLEVELSTART\r\n";
        for (int i = 0; i < 1000000; ++i) {
            file << "POINT_ARROW_AT ( arrow , thing )\r\n";
        }
        file << "LEVELEND\r\n";
    }
    for (const auto& [signal, code] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(signal);
        Process process(temp, {"--check", script.string()});
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!process.hasOpen(script) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        process.signal(signal);
        const Finished finished = process.wait();
        EXPECT_TRUE(exitedWith(finished.status, code)) << finished.status;
        EXPECT_EQ(finished.out, ""); // no "nothing left to do"
        EXPECT_NE(finished.err.find("interrupted"), std::string::npos);
    }
}

// A script of one line naming OBJECT0 ... OBJECT4999 once took 700 MB and printed 270 MB: each item
// keeps an excerpt of its line, and a script's items are capped.
TEST(Process, ACheckStaysSmallWhateverTheScript) {
    TempFolder temp;
    std::string line;
    for (int i = 0; i < 5000; ++i) {
        line += "OBJECT" + std::to_string(i) + " ";
    }
    writeFile(temp / "one-line-of-5000-names.mis", line + "\r\n");
    Process process(temp, {"--check", (temp / "one-line-of-5000-names.mis").string()});
    const Finished finished = process.wait();
    EXPECT_TRUE(exitedWith(finished.status, 4)) << finished.status;
    EXPECT_LT(finished.out.size(), 1u << 20);
    EXPECT_NE(finished.out.find("  1: OBJECT0 is not declared: OBJECT0 OBJECT1 "),
              std::string::npos);
    EXPECT_NE(finished.out.find(" more items\r\n"), std::string::npos);
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(finished.peakKiB, 32 << 10);
#endif
}

// The report grows with what it lists, not with the lines written: 300 000 arrows at one declared
// object leave nothing to list, and the run with --report takes as little memory as without.
TEST(Process, AReportDoesNotKeepTheLinesWritten) {
    Folders folders;
    fs::create_directories(folders.mission);
    {
        std::ofstream file(folders.mission / "mission.ini", std::ios::binary);
        file << "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n1 1 (10,20,4) DUMMY\r\n";
        for (int i = 2; i < 300000; ++i) {
            file << i << " ARROW 1 0 0 0\r\n";
        }
    }
    Process plain(folders.temp, folders.args());
    const Finished withoutReport = plain.wait();
    ASSERT_TRUE(exitedWith(withoutReport.status, 0));
    std::vector<std::string> args = folders.args();
    args.insert(args.end(), {"--report", (folders.temp / "report.txt").string()});
    Process reported(folders.temp, args);
    const Finished withReport = reported.wait();
    ASSERT_TRUE(exitedWith(withReport.status, 0));
    EXPECT_EQ(readFile(folders.temp / "report.txt"), "nyc_A_1.mis\r\n  nothing left to do\r\n");
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(withReport.peakKiB, withoutReport.peakKiB + (8 << 10));
#endif
}

// The report is written as the run goes: the first script's block (more than the 64 KiB a file
// is written in) is in the file while the second script is still being written, and a signal
// then ends the report with the failure.
TEST(Process, AReportIsWrittenAsTheRunGoes) {
    Folders folders;
    std::string mission = "[1]\r\nA, 1, nyc.cmp\r\n\r\n\r\n";
    for (int i = 1; i <= 1200; ++i) {
        mission += std::to_string(i) + " ARROW " + std::to_string(i + 5000) + " 0 0 0\r\n";
    }
    mission += longMission(400000).replace(0, 3, "[2]");
    writeFile(folders.mission / "mission.ini", mission);
    const fs::path report = folders.temp / "report.txt";
    std::vector<std::string> args = folders.args();
    args.insert(args.end(), {"--report", report.string()});
    Process process(folders.temp, args);
    // Written aside until the run ends, as every file that counts only when whole.
    const auto writtenAside = [&folders] {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folders.temp.path(), ec)) {
            if (entry.path().filename().string().starts_with(".report.txt.brennic-partial-")) {
                return static_cast<std::size_t>(entry.file_size(ec));
            }
        }
        return std::size_t{0};
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (writtenAside() < (1u << 16) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(fs::exists(report));
    process.signal(SIGTERM);
    const Finished finished = process.wait();
    EXPECT_TRUE(exitedWith(finished.status, 143)) << finished.status;
    const std::string written = readFile(report);
    EXPECT_TRUE(
        written.starts_with("nyc_A_1.mis\r\n"
                            "  12: GTA1 line 1: OBJECT5001 is not declared; this mission has "
                            "no GTA1 line 5001: POINT_ARROW_AT ( ARROW , OBJECT5001 ) // 1\r\n"))
        << written.substr(0, 400);
    EXPECT_NE(written.find("\r\n  and 200 more items\r\n\r\nnyc_A_2.mis\r\n"), std::string::npos);
    EXPECT_NE(written.find("\r\n\r\nThe conversion failed: Interrupted"), std::string::npos);
}
