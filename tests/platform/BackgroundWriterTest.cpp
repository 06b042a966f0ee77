#include "platform/BackgroundWriter.h"

#include "platform/FaultInjection.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

using namespace brennic::platform;
using brennic::test::readFile;
using brennic::test::TempFolder;
namespace fs = std::filesystem;

namespace {

struct Fault {
    explicit Fault(FaultHook hook) { setFaultHook(std::move(hook)); }
    ~Fault() { setFaultHook(nullptr); }
};

// Script i: i lines, each longer than the one before, so that order and buffer edges show.
std::string lineOf(int script, int line) {
    return std::to_string(script) + ":" + std::string(static_cast<std::size_t>(line * 37), 'x');
}

std::string expectedScript(int script) {
    std::string text;
    for (int line = 1; line <= script; ++line) {
        text += lineOf(script, line) + "\r\n";
    }
    return text;
}

fs::path scriptPath(const TempFolder& temp, int script) {
    return temp / ("s" + std::to_string(script) + ".mis");
}

} // namespace

TEST(BackgroundWriter, ScriptsAreWrittenInOrderWithOrWithoutTheThread) {
    for (const bool useThread : {true, false}) {
        SCOPED_TRACE(useThread);
        TempFolder temp;
        constexpr int kScripts = 120; // the last ones span several buffers each
        constexpr std::size_t kBig = (std::size_t{1} << 22) + 12345;
        {
            BackgroundWriter writer(useThread);
            for (int script = 1; script <= kScripts; ++script) {
                writer.create(scriptPath(temp, script));
                for (int line = 1; line <= script; ++line) {
                    ASSERT_TRUE(writer.writeLine({lineOf(script, line)}));
                }
            }
            // A piece larger than all the buffers together (4 MiB), then an empty piece.
            writer.create(temp / "big.mis");
            ASSERT_TRUE(writer.writeLine({std::string(kBig, 'b'), "", "!"}));
            EXPECT_FALSE(writer.finish().has_value());
            EXPECT_EQ(writer.finished(), writer.handedOver());
        }
        for (int script = 1; script <= kScripts; ++script) {
            ASSERT_EQ(readFile(scriptPath(temp, script)), expectedScript(script)) << script;
        }
        EXPECT_EQ(readFile(temp / "big.mis"), std::string(kBig, 'b') + "!\r\n");
    }
}

TEST(BackgroundWriter, TheFirstFailureStopsEveryLaterStep) {
    struct Case {
        const char* name;
        FileOperation operation;
        bool whileCreating;
        std::size_t position; // a small script is written out when the next one is created
    };
    const Case cases[] = {
        {"create", FileOperation::Create, true, 5},
        {"write", FileOperation::Write, false, 6},
        {"close", FileOperation::Close, false, 6},
    };
    for (const bool useThread : {true, false}) {
        for (const auto& [name, operation, whileCreating, position] : cases) {
            SCOPED_TRACE(std::string(name) + (useThread ? " thread" : " inline"));
            TempFolder temp;
            Fault fault([operation](FileOperation op, const fs::path& path) {
                return op == operation && path.filename() == "s5.mis" ? ENOSPC : 0;
            });
            BackgroundWriter writer(useThread);
            std::uint64_t beforeFive = 0;
            for (int script = 1; script <= 40; ++script) {
                writer.setPosition(static_cast<std::size_t>(script));
                if (script == 5) {
                    beforeFive = writer.handedOver();
                }
                writer.create(scriptPath(temp, script));
                for (int line = 1; line <= script; ++line) {
                    writer.writeLine({lineOf(script, line)});
                }
            }
            const auto failure = writer.finish();
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(failure->error.number, 61);
            EXPECT_EQ(failure->whileCreating, whileCreating);
            EXPECT_EQ(failure->position, position);
            EXPECT_GT(failure->step, beforeFive);
            EXPECT_EQ(writer.finished(), failure->step - 1);
            ASSERT_NE(writer.failure(), nullptr);
            EXPECT_FALSE(writer.writeLine({"after"}));
            for (int script = 1; script <= 4; ++script) {
                EXPECT_EQ(readFile(scriptPath(temp, script)), expectedScript(script));
            }
            EXPECT_EQ(fs::exists(scriptPath(temp, 5)), !whileCreating);
            for (int script = 6; script <= 40; ++script) {
                EXPECT_FALSE(fs::exists(scriptPath(temp, script))) << script;
            }
        }
    }
}

TEST(BackgroundWriter, TheDestructorFinishesAnOpenScript) {
    TempFolder temp;
    {
        BackgroundWriter writer;
        writer.create(temp / "a.mis");
        writer.writeLine({"kept"});
    }
    EXPECT_EQ(readFile(temp / "a.mis"), "kept\r\n");
}
