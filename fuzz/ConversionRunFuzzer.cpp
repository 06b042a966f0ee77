// libFuzzer target: one whole conversion run over a fuzzer-made mission file, e.txt, cars.ini and
// option set, in a private folder in memory (/dev/shm where there is one). The output folder is
// kept from one input to the next (up to a few dozen scripts), so that runs meet the scripts of
// earlier ones under the same names. Beyond what the sanitizers catch, it checks that a run ends
// in one of its three ways, that a failure carries its report, that no file appears outside the
// output folder, that nothing written aside is left behind, and that a script that existed before
// a run is either unchanged or replaced by a complete one.
//
// Input layout: 5 bytes of switches (one bit per check box), 1 byte choosing the offsets, then the
// mission file, "\n\x01E\n", e.txt, "\n\x01C\n", cars.ini (missing parts give missing files).
#include "engine/ConversionRun.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace brennic::engine;

namespace {

fs::path g_root;

class FuzzHost : public RunHost {
  public:
    std::string status;
    std::string BrowseFolder(std::string_view) override { return "Cancel"; }
    void replaceStatus(std::string_view text) override { status = text; }
    void appendStatus(std::string_view text) override { status += text; }
};

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "property violated: %s\n", why.c_str());
    std::abort();
}

std::string_view takeUntil(std::string_view& rest, std::string_view marker) {
    const std::size_t at = rest.find(marker);
    const std::string_view part = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view{} : rest.substr(at + marker.size());
    return part;
}

// What identifies a script's bytes without reading them: a rename or a write changes one of these.
struct Stamp {
    std::uintmax_t size = 0;
    fs::file_time_type written{};
    bool operator==(const Stamp&) const = default;
};

// The scripts in the output folder, by name. Walking the whole private folder, it also checks
// that nothing stands where the run has no business and nothing written aside was left.
std::map<std::string, Stamp> scriptsIn(const fs::path& root) {
    std::map<std::string, Stamp> scripts;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = fs::relative(entry.path(), root);
        const std::string name = relative.filename().string();
        if (name.find(".brennic-") != std::string::npos) {
            fail("a file written aside was left behind: " + name);
        }
        const bool script = relative.parent_path() == "out" && relative.extension() == ".mis";
        if (script) {
            scripts[name] = {entry.file_size(), entry.last_write_time()};
        } else if (relative != "out" && relative != "out/uk" && relative != "out/e.txt" &&
                   relative != "gtadata" && relative != "gtadata/mission.ini" &&
                   relative != "cars.ini") {
            fail("unexpected file " + relative.string());
        }
    }
    return scripts;
}

bool endsComplete(const fs::path& path) {
    constexpr std::string_view kEnd = "LEVELEND\r\n";
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const auto size = static_cast<std::streamoff>(in.tellg());
    std::string tail(kEnd.size(), '\0');
    if (size < static_cast<std::streamoff>(tail.size()) ||
        !in.seekg(size - static_cast<std::streamoff>(tail.size())) ||
        !in.read(tail.data(), static_cast<std::streamsize>(tail.size()))) {
        return false;
    }
    return tail == kEnd;
}

void convert(const RunRequest& request, FuzzHost& host) {
    EngineState state;
    const std::map<std::string, Stamp> before = scriptsIn(g_root);
    const RunOutcome outcome = ConversionRun(request, state, host);
    if (outcome.end == RunEnd::Cancelled) {
        fail("a run over valid folders was cancelled");
    }
    if (outcome.end == RunEnd::Failed &&
        (!outcome.failure || outcome.failure->description().empty() ||
         outcome.failure->source().empty())) {
        fail("a failure without its report");
    }
    if (outcome.end == RunEnd::Finished && !host.status.ends_with("\r\n")) {
        fail("a finished run without its statistics");
    }
    const std::map<std::string, Stamp> after = scriptsIn(g_root);
    for (const auto& [name, stamp] : before) {
        const auto now = after.find(name);
        if (now == after.end()) {
            fail("an earlier script disappeared: " + name);
        }
        if (now->second != stamp && !endsComplete(g_root / "out" / name)) {
            fail("an earlier script was replaced by an incomplete one: " + name);
        }
    }
    if (after.size() > 20) {
        fs::remove_all(g_root / "out"); // a few dozen scripts are enough to meet
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path memory = "/dev/shm";
    g_root = (fs::is_directory(memory) ? memory : fs::temp_directory_path()) /
             ("brennic-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(g_root);
    std::atexit([] { fs::remove_all(g_root); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) {
        return 0;
    }
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    ConversionOptions options;
    for (std::size_t i = 0; i < kSwitchKeys.size(); ++i) {
        options.*kSwitchKeys[i].member =
            ((static_cast<unsigned char>(rest[i / 8]) >> (i % 8)) & 1U) != 0;
    }
    switch (static_cast<unsigned char>(rest[5]) % 3) {
    case 0:
        break;
    case 1:
        options.Xoffset = 1, options.Yoffset = 0.5, options.Zoffset = -2;
        break;
    default:
        options.Xoffset = -100, options.Yoffset = 1e300, options.Zoffset = 0.15;
        break;
    }
    rest.remove_prefix(6);
    const std::string_view mission = takeUntil(rest, "\n\x01"
                                                     "E\n");
    const std::string_view texts = takeUntil(rest, "\n\x01"
                                                   "C\n");
    const std::string_view cars = rest;

    const fs::path missionFolder = g_root / "gtadata";
    const fs::path outputFolder = g_root / "out";
    fs::remove(g_root / "cars.ini");
    fs::remove(outputFolder / "e.txt");
    fs::create_directories(missionFolder);
    fs::create_directories(outputFolder);
    writeBytes(missionFolder / "mission.ini", mission);
    if (!texts.empty()) {
        writeBytes(outputFolder / "e.txt", texts);
    }
    RunRequest request;
    if (!cars.empty()) {
        writeBytes(g_root / "cars.ini", cars);
        request.vehicleFile = g_root / "cars.ini";
    }
    options.GTA1iniFile = missionFolder.string() + "/";
    options.OutputFolder = outputFolder.string() + "/";
    request.options = options;

    FuzzHost host;
    convert(request, host);
    return 0;
}
