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

    Finished wait() {
        Finished finished;
        rusage usage{};
        ::wait4(m_pid, &finished.status, 0, &usage);
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
