// Generates synthetic GTA1 mission files, converts them with every translation on and prints the
// throughput, the peak resident memory and the time `cp` takes to copy the same bytes (the input
// file and the scripts written), as the floor the converter is measured against.
//
//   brennic-bench --cli PATH --work DIR [--runs N] [--size-mb MB]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

struct Measure {
    double seconds = 0.0;
    long peakKiB = 0;
};

// Runs a program to its end; the wall time and its peak resident set.
Measure runProgram(const std::vector<std::string>& args, const fs::path& stdoutFile) {
    std::vector<char*> argv;
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::uintmax_t folderBytes(const fs::path& folder) {
    std::uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    return total;
}

// One mission section in the style of the real files: objects first, then the commands that use
// them, every kind and keyword, among the unknown commands real files are full of. The run totals
// are 16-bit, so the counted kinds (and the wait loops that go with them) come in every eighth
// block of the file only: about 10 000 each in 100 MB.
void writeSection(std::string& out, int section, std::size_t targetBytes, long& blocks,
                  std::mt19937& random) {
    const std::size_t start = out.size();
    const char* maps[] = {"nyc", "sanb", "miami", "uk"};
    out += "[" + std::to_string(section) + "] \r\n";
    out += "Mission " + std::to_string(section) + ", 22, " + maps[section % 4] + ".cmp, 0, \r\n";
    out += "100 1 1 1 1 0 \r\n\r\n";
    auto coordinate = [&random] { return std::to_string(1 + random() % 255); };
    auto triple = [&] {
        const bool pixels = random() % 4 == 0; // some files give pixel coordinates
        const auto x = pixels ? std::to_string(64 * (1 + random() % 255)) : coordinate();
        return "(" + x + "," + coordinate() + "," + std::to_string(1 + random() % 6) + ")";
    };
    static const char* const kUnknown[] = {"SURVIVE 0 0 0 0 0",         "KICKSTART 12 0 0 0 0",
                                           "DISABLE 3 0 0 0 0",         "ENABLE 4 0 0 0 0",
                                           "CHANGE_PED_TYPE 5 0 0 0 0", "DONOWT 0 0 0 0 0"};
    int line = 1;
    auto object = [&](const std::string& kind) {
        out += std::to_string(line++) + " 1 " + triple() + " " + kind + " \r\n";
    };
    auto command = [&](const std::string& text) {
        out += std::to_string(line++) + " " + text + " \r\n";
    };
    // The rows the commands name: the objects of the last block that declared the counted kinds.
    std::string phone = "1", ped = "1", car = "1", door = "1", powerup = "1";
    // Whole blocks only, ending nearest the target size: a file of small sections then still
    // totals its size.
    std::size_t blockSize = 0;
    for (; out.size() - start + blockSize / 2 < targetBytes; ++blocks) {
        const std::size_t blockStart = out.size();
        object("TARGET 04 768");
        object("TRIGGER 10 255");
        object("FUTURE 0 0");
        object("MIDPOINT_MULTI 1");
        object("MISSION_COUNTER 1 0");
        object("SPECIFIC_DOOR 1 4 0");
        object("CARTRIGGER 2 0");
        if (blocks % 8 == 0) {
            phone = std::to_string(line);
            object("TELEPHONE 0 " + std::to_string(random() % 1024));
            object("MPHONES " + phone + " 3");
            ped = std::to_string(line);
            object("FUTUREPED 0 512");
            car = std::to_string(line);
            object("FUTURECAR " + std::to_string(random() % 60) + " 512");
            door = std::to_string(line);
            object("DOOR " + std::to_string(random() % 4) + " 4 0");
            powerup = std::to_string(line);
            object("POWERUP " + std::to_string(1 + random() % 15) + " 10");
            object("PLAYER 0 256");
            object("DUMMY 0 0");
            object("SPRAY 1 0");
            object("BOMBSHOP 0 0");
            object("PED 0 256 " + std::to_string(random() % 120));
            object("PARKED " + std::to_string(random() % 60) + " 256");
            object("HELLS 0 0");
            command("ANSWER " + phone + " 0 420 10 2500");
            command("BRIEF 0 0 0 0 " + std::to_string(1000 + random() % 50));
            command("STEAL " + car + " 0 -1 0 5000");
            command("DESTROY " + ped + " 0 -1 0 10000");
            command("PARK " + door + " 0 0 3 20000");
        }
        command("DROP_WANTED_LEVEL 0 0 0 0 0");
        command("CAR_ON " + car + " 0 0 0 0");
        command("PED_ON " + ped + " 0 0 147 0");
        command("POWERUP_ON " + powerup + " 0 0 0 0");
        command("RED_ARROW " + ped + " -1 -1 0 0");
        command("ARROW " + door + " 0 0 0 0");
        command("ARROWCAR " + car + " 0 0 0 0");
        command("ARROW_OFF 0 0 0 0 0");
        command("RED_ARROW_OFF 0 0 0 0 0");
        command("IS_GOAL_DEAD " + ped + " 0 150 0 0");
        command("INC_HEADS 4 0 0 -1 0");
        command("MISSION_END 0 475 475 0 0");
        command("END 1 0 0 1 50000");
        // The objectives that become wait loops are rarer in real files than the one-liners.
        if (blocks % 8 == 4) {
            command("CHECK_CAR " + car + " 0 492 -1 0");
            command("LOCATE " + ped + " 0 363 0 2000");
            command("GOTO " + ped + " 0 0 32100 7000");
        }
        // Real files group their commands in short runs between empty lines: about a quarter
        // of their lines are empty.
        for (int i = 0; i < 24; ++i) {
            command(kUnknown[random() % 6]);
            if (i % 2 == 1) {
                out += "\r\n";
            }
        }
        blockSize = out.size() - blockStart;
    }
}

fs::path generate(const fs::path& folder, int sections, std::size_t totalBytes) {
    fs::create_directories(folder);
    const fs::path file = folder / "mission.ini";
    if (fs::exists(file)) {
        return file;
    }
    std::mt19937 random(static_cast<unsigned>(sections));
    long blocks = 0;
    std::ofstream out(file, std::ios::binary);
    std::string text;
    for (int section = 1; section <= sections; ++section) {
        writeSection(text, section, totalBytes / static_cast<std::size_t>(sections), blocks,
                     random);
        if (text.size() > (1 << 22)) {
            out << text;
            text.clear();
        }
    }
    out << text;
    return file;
}

struct Subject {
    std::string name;
    int sections = 0;
    fs::path missionFolder{};
    fs::path input{};
    fs::path output{};
    std::vector<double> times{};
    std::vector<double> floors{};
    long peakKiB = 0;
};

void convertOnce(const std::string& cli, const fs::path& work, Subject& subject) {
    fs::remove_all(subject.output);
    fs::create_directories(subject.output);
    const Measure m =
        runProgram({cli, "--mission-dir", subject.missionFolder.string(), "--output-dir",
                    subject.output.string(), "--all", "--cars", "none.ini"},
                   work / "status.txt");
    subject.times.push_back(m.seconds);
    subject.peakKiB = std::max(subject.peakKiB, m.peakKiB);
}

void copyOnce(const fs::path& work, Subject& subject) {
    const fs::path copy = work / (subject.name + "-copy");
    fs::remove_all(copy);
    fs::create_directories(copy);
    const Measure a = runProgram(
        {"/bin/cp", subject.input.string(), (copy / "mission.ini").string()}, "/dev/null");
    const Measure b = runProgram(
        {"/bin/cp", "-R", subject.output.string(), (copy / "out").string()}, "/dev/null");
    subject.floors.push_back(a.seconds + b.seconds);
    fs::remove_all(copy);
}

void report(const Subject& subject) {
    const double inMB = static_cast<double>(fs::file_size(subject.input)) / 1e6;
    const double outMB = static_cast<double>(folderBytes(subject.output)) / 1e6;
    const double t = median(subject.times);
    const double floor = median(subject.floors);
    std::printf("%s: %d sections, %.1f MB in, %.1f MB out\n", subject.name.c_str(),
                subject.sections, inMB, outMB);
    std::printf("  convert (median of %zu): %.3f s  input %.0f MB/s  output %.0f MB/s  "
                "%.2f ms/MB\n",
                subject.times.size(), t, inMB / t, outMB / t, 1000 * t / inMB);
    std::printf("  runs:");
    for (const double seconds : subject.times) {
        std::printf(" %.3f", seconds);
    }
    std::printf(" s\n");
    std::printf("  peak resident memory: %.1f MB\n", static_cast<double>(subject.peakKiB) / 1024);
    std::printf("  cp floor (input + scripts): %.3f s  converter/floor: %.2f\n", floor, t / floor);
}

// The two files take turns, run by run: a slow spell of a shared machine then falls on both,
// and the comparison of their time per MB stays fair.
void bench(const std::string& cli, const fs::path& work, std::size_t bytes, int runs) {
    std::vector<Subject> subjects;
    for (const auto& [name, sections] :
         {std::pair{"large-sections", 1000}, std::pair{"small-sections", 20000}}) {
        Subject subject;
        subject.name = name;
        subject.sections = sections;
        subject.missionFolder = work / name;
        subject.input = generate(subject.missionFolder, sections, bytes);
        subject.output = work / (subject.name + "-out");
        subjects.push_back(std::move(subject));
    }
    for (int run = 0; run < runs; ++run) {
        for (Subject& subject : subjects) {
            convertOnce(cli, work, subject);
        }
    }
    for (int run = 0; run < runs; ++run) {
        for (Subject& subject : subjects) {
            copyOnce(work, subject);
        }
    }
    for (const Subject& subject : subjects) {
        report(subject);
    }
    const double large =
        median(subjects[0].times) / static_cast<double>(fs::file_size(subjects[0].input));
    const double small =
        median(subjects[1].times) / static_cast<double>(fs::file_size(subjects[1].input));
    std::printf("time per MB, small against large sections: %+.0f%%\n", 100 * (small / large - 1));
}

} // namespace

int main(int argc, char** argv) {
    std::string cli;
    fs::path work = "build/bench";
    int runs = 5;
    double sizeMB = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--cli") {
            cli = argv[i + 1];
        } else if (option == "--work") {
            work = argv[i + 1];
        } else if (option == "--runs") {
            runs = std::atoi(argv[i + 1]);
        } else if (option == "--size-mb") {
            sizeMB = std::atof(argv[i + 1]);
        }
    }
    if (cli.empty() || runs < 1) {
        std::fprintf(stderr, "usage: brennic-bench --cli PATH [--work DIR] [--runs N] "
                             "[--size-mb MB]\n");
        return 2;
    }
    cli = fs::absolute(cli).string();
    fs::create_directories(work);
    const auto bytes = static_cast<std::size_t>(sizeMB * 1e6);
    bench(cli, work, bytes, runs);
    return 0;
}
