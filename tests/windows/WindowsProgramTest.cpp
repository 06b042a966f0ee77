// brennic-cli.exe as Windows starts it: from a command line as cmd hands it over (nothing split
// or expanded before the program sees it), with its standard output and error in files.
#include "platform/FileSystem.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <windows.h>

using brennic::test::filesIn;
using brennic::test::readFile;
using brennic::test::TempFolder;
using brennic::test::writeFile;
namespace fs = std::filesystem;
namespace platform = brennic::platform;

namespace {

struct Ran {
    DWORD code = 0;
    std::string out{};
    std::string err{};
};

// A process of brennic-cli.exe (beside this test program) started in folder.
class Program {
  public:
    Program(const fs::path& folder, const std::wstring& arguments)
        : m_out(folder / "stdout.txt"), m_err(folder / "stderr.txt") {
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const auto create = [&inherited](const fs::path& path) {
            return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        HANDLE out = create(m_out);
        HANDLE err = create(m_err);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = err;
        const fs::path program = platform::executableFolder() / "brennic-cli.exe";
        std::wstring line = L"brennic-cli.exe " + arguments;
        if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            folder.c_str(), &startup, &m_process)) {
            ADD_FAILURE() << "cannot start " << program.string();
        }
        CloseHandle(out);
        CloseHandle(err);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    // The program's main thread, which runs the conversion; the console's control events come
    // on a thread of their own.
    HANDLE mainThread() const { return m_process.hThread; }

    Ran wait() const {
        Ran ran;
        EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 60000), WAIT_OBJECT_0);
        GetExitCodeProcess(m_process.hProcess, &ran.code);
        ran.out = readFile(m_out);
        ran.err = readFile(m_err);
        return ran;
    }

  private:
    fs::path m_out;
    fs::path m_err;
    PROCESS_INFORMATION m_process{};
};

Ran run(const fs::path& folder, const std::wstring& arguments) {
    return Program(folder, arguments).wait();
}

// Every line ends in CR LF, as Windows programs write them.
bool crlfLines(const std::string& text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        if (at == 0 || text[at - 1] != '\r') {
            return false;
        }
    }
    return text.ends_with("\r\n");
}

const fs::path kExample = fs::path(BRENNIC_CASES_DIR) / "examples-all-switches";

// The files a run left in folder, without the e.txt it was given.
std::map<std::string, std::string> scriptsIn(const fs::path& folder) {
    auto files = filesIn(folder);
    files.erase("e.txt");
    return files;
}

// The files the Linux build leaves for the example.
std::map<std::string, std::string> expectedScripts() {
    auto files = filesIn(kExample / "expected" / "output");
    files.erase("uk/.gitkeep");
    return files;
}

// Files written aside and not removed: their names begin with a dot.
bool nothingAside(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().native().starts_with(L".")) {
            ADD_FAILURE() << "left aside: " << platform::textFromPath(entry.path().filename());
            return false;
        }
    }
    return true;
}

} // namespace

// A user called Łukasz, with a look-alike Lukasz beside him, and folders in Cyrillic and
// Japanese: every script goes into exactly the folder named, as the Linux build writes it.
TEST(WindowsProgram, ConvertsIntoExactlyTheFolderNamed) {
    TempFolder temp;
    const std::wstring names[] = {L"\u0141ukasz", L"\u0416\u0443\u043a \u65e5\u672c"};
    fs::create_directories(temp.path() / L"Lukasz" / L"gtadata");
    writeFile(temp.path() / L"Lukasz" / L"gtadata" / L"mission.ini",
              "[1]\r\nWrong, 1, nyc.cmp\r\n");
    fs::create_directories(temp.path() / L"Lukasz" / L"out");
    for (const std::wstring& name : names) {
        SCOPED_TRACE(platform::textFromPath(name));
        const fs::path user = temp.path() / name;
        fs::create_directories(user / L"gtadata");
        fs::create_directories(user / L"out");
        fs::copy_file(kExample / "input" / "MISSION.INI", user / L"gtadata" / L"MISSION.INI");
        fs::copy_file(kExample / "input" / "e.txt", user / L"out" / L"e.txt");
        // The output folder as a shell completes it: quoted, with its final backslash.
        const Ran ran =
            run(temp.path(), L"--mission-dir \"" + name + L"\\gtadata\" --output-dir \"" + name +
                                 L"\\out\\\" --all");
        EXPECT_EQ(ran.code, 0u) << ran.err;
        EXPECT_EQ(ran.out, readFile(kExample / "expected" / "status.txt"));
        EXPECT_EQ(scriptsIn(user / L"out"), expectedScripts());
    }
    EXPECT_EQ(filesIn(temp.path() / L"Lukasz" / L"out").size(), 0u);
}

TEST(WindowsProgram, HelpVersionAndLineEnds) {
    TempFolder temp;
    for (const wchar_t* help : {L"/?", L"-?", L"--help"}) {
        SCOPED_TRACE(platform::textFromPath(help));
        const Ran ran = run(temp.path(), help);
        EXPECT_EQ(ran.code, 0u);
        EXPECT_TRUE(ran.out.find("--mission-dir") != std::string::npos) << ran.out;
        EXPECT_TRUE(crlfLines(ran.out)) << ran.out;
    }
    EXPECT_EQ(run(temp.path(), L"--version").out, "brennic-cli " BRENNIC_VERSION "\r\n");
    const Ran wrong = run(temp.path(), L"--mission-dir \"no such\\\" --output-dir .");
    EXPECT_EQ(wrong.code, 3u);
    EXPECT_EQ(wrong.err, "brennic-cli: the mission folder \"no such\\\" holds no mission.ini or "
                         "missuk.ini (use --mission-dir)\r\n");
}

TEST(WindowsProgram, WildcardsNameTheScriptsToCheck) {
    TempFolder temp;
    writeFile(temp / "out" / "b.mis", "LEVELSTART\r\n// MOVE FAIL LINE HERE\r\nLEVELEND\r\n");
    writeFile(temp / "out" / "A.MIS", "LEVELSTART\r\nLEVELEND\r\n");
    writeFile(temp / "out" / "c.misc", "// MOVE FAIL LINE HERE\r\n");
    const Ran ran = run(temp.path(), L"--check out\\*.mis");
    EXPECT_EQ(ran.code, 4u) << ran.err;
    EXPECT_EQ(ran.out, "out\\A.MIS\r\n  nothing left to do\r\n\r\nout\\b.mis\r\n"
                       "  2: fail line to move here: // MOVE FAIL LINE HERE\r\n");
    const Ran none = run(temp.path(), L"--check \"out\\none*.mis\"");
    EXPECT_EQ(none.code, 2u);
    EXPECT_NE(none.err.find("File does not exist: out\\none*.mis\r\n"), std::string::npos)
        << none.err;
}

// A script open in another program (an editor, GTA2's compiler) is neither replaced nor lost:
// the run says so and names it.
TEST(WindowsProgram, AScriptInUseIsNamedAndKept) {
    TempFolder temp;
    fs::copy(kExample / "input", temp / "gtadata");
    fs::create_directories(temp / "out");
    const fs::path script = temp / "out" / "nyc_Bank Job_1.mis";
    writeFile(script, "// my own finished mission\r\n");
    HANDLE held = CreateFileW(script.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Ran ran = run(temp.path(), L"--mission-dir gtadata --output-dir out --all");
    CloseHandle(held);
    EXPECT_EQ(ran.code, 1u);
    EXPECT_NE(ran.err.find("Error description: File in use by another program (writing "),
              std::string::npos)
        << ran.err;
    EXPECT_NE(ran.err.find("nyc_Bank Job_1.mis)"), std::string::npos) << ran.err;
    EXPECT_TRUE(ran.err.ends_with("Error number: 70\r\n")) << ran.err;
    EXPECT_EQ(readFile(script), "// my own finished mission\r\n");
    EXPECT_TRUE(nothingAside(temp / "out"));
}

// Ctrl+C in the console stops the run as SIGINT does elsewhere: exit code 130, and the file the
// run was replacing stays as it was. (wine sends Ctrl+Break to nobody, and cannot close a
// console: those stay untested here.)
TEST(WindowsProgram, CtrlCStopsTheRunAndLeavesNothingAside) {
    TempFolder temp;
    // One long mission, long enough that the run is still at it when Ctrl+C comes.
    std::string mission = "[1]\r\nLong, 1, nyc.cmp\r\n\r\n\r\n";
    for (int line = 1; line <= 600000; ++line) {
        mission += std::to_string(line) + " UNKNOWN_WORD 1 2 3\r\n";
    }
    writeFile(temp / "gtadata" / "mission.ini", mission);
    const fs::path script = temp / "out" / "nyc_Long_1.mis";
    writeFile(script, "// my own finished mission\r\n");
    // The console whose Ctrl+C reaches the program; this test ignores it itself.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    Program program(temp.path(), L"--mission-dir gtadata --output-dir out --all");
    bool aside = false;
    for (int wait = 0; wait < 3000 && !aside; ++wait) {
        Sleep(10);
        for (const auto& entry : fs::directory_iterator(temp / "out")) {
            aside = aside || entry.path().filename().native().starts_with(L".nyc_Long_1.mis");
        }
    }
    ASSERT_TRUE(aside) << "the run never began its script";
    // The run is held while Ctrl+C comes, so that it comes during the run however fast that is.
    SuspendThread(program.mainThread());
    SetConsoleCtrlHandler(nullptr, TRUE);
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    Sleep(500);
    ResumeThread(program.mainThread());
    const Ran ran = program.wait();
    SetConsoleCtrlHandler(nullptr, FALSE);
    FreeConsole();
    EXPECT_EQ(ran.code, 130u) << ran.err;
    EXPECT_NE(ran.err.find("Error description: Interrupted (line "), std::string::npos) << ran.err;
    EXPECT_EQ(readFile(script), "// my own finished mission\r\n");
    EXPECT_TRUE(nothingAside(temp / "out"));
}
