// libFuzzer target: brennic-cli --check over fuzzer-made scripts given together as one set, each
// read from a file in memory (/dev/shm where there is one) as the command line reads it. Beyond
// what the sanitizers catch, it checks what --check promises whatever the scripts hold: few
// items, each line of the listing short and free of control bytes, and a script that cannot end
// (no LEVELEND or MISSIONEND anywhere in it) never "nothing left to do".
//
// Input layout: scripts separated by "\n\x01S\n" (at most four).
#include "platform/Ascii.h"
#include "report/ScriptCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace brennic::report;

namespace {

fs::path g_root;

// Items a script keeps: few enough that a fuzz run stays fast, and the listing stays short.
constexpr std::size_t kMaxItems = 50;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "property violated: %s\n", why.c_str());
    std::abort();
}

bool mayEnd(std::string_view script) {
    const std::string upper = brennic::platform::asciiUpperCopy(script);
    return upper.find("LEVELEND") != std::string::npos ||
           upper.find("MISSIONEND") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path memory = "/dev/shm";
    g_root = (fs::is_directory(memory) ? memory : fs::temp_directory_path()) /
             ("brennic-check-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(g_root);
    std::atexit([] { fs::remove_all(g_root); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kSeparator = "\n\x01S\n";
    std::vector<std::string_view> scripts;
    while (scripts.size() < 4) {
        const std::size_t at = rest.find(kSeparator);
        scripts.push_back(rest.substr(0, at));
        if (at == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(at + kSeparator.size());
    }
    std::vector<ScriptCheck> checks;
    checks.reserve(scripts.size());
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        const fs::path path = g_root / ("script" + std::to_string(i) + ".mis");
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(scripts[i].data(), static_cast<std::streamsize>(scripts[i].size()));
        brennic::platform::IoError error;
        ScriptCheck& check = checks.emplace_back(kMaxItems);
        if (Check_script_file(path, check, {}, error) != ScriptRead::Read) {
            checks.pop_back(); // a line longer than a megabyte: said, not checked
            scripts.erase(scripts.begin() + static_cast<std::ptrdiff_t>(i));
            --i;
        }
    }
    Settle_script_set(checks);
    for (std::size_t i = 0; i < checks.size(); ++i) {
        std::vector<Item> items = checks[i].items();
        if (items.size() > kMaxItems) {
            fail("more items kept than the cap");
        }
        const std::size_t listedCounted = static_cast<std::size_t>(std::count_if(
            items.begin(), items.end(), [](const Item& item) { return item.counted; }));
        if (checks[i].countedItems() < listedCounted ||
            checks[i].unlistedItems() + items.size() < checks[i].countedItems()) {
            fail("the counts do not add up");
        }
        if (!mayEnd(scripts[i]) && checks[i].countedItems() == 0) {
            fail("a script without LEVELEND or MISSIONEND passed");
        }
        for (Item& item : items) {
            if (item.statement.size() > kExcerptBytes + 3) {
                fail("an item keeps more than an excerpt of its line");
            }
            item.reason = brennic::platform::escapeControlBytes(item.reason);
            item.statement = brennic::platform::escapeControlBytes(item.statement);
        }
        const std::string text =
            Block_text({"script.mis", std::move(items), checks[i].unlistedItems(), {}});
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find("\r\n", start);
            const std::string_view line(text.data() + start, end - start);
            if (line.size() > 1000) {
                fail("a listed line of " + std::to_string(line.size()) + " bytes");
            }
            if (std::any_of(line.begin(), line.end(), [](char c) {
                    return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
                })) {
                fail("a control byte in the listing");
            }
            start = end + 2;
        }
    }
    return 0;
}
