// Converts a real mission file and synthetic ones with every translation on, and prints their
// times against the floors they are judged by, with the targets each must meet:
// - the real file (--real) end to end within 1.5 times the time of `brennic-cli --help`;
// - about 100 MB of missions in 1 000 sections at 200 MB/s or more, within 3 times the time `cp`
//   takes to copy the same bytes (the input and the scripts), in under 64 MB of memory;
// - 20 000 sections of one name within 1.5 times the time of 20 000 sections of as many names
//   (the names _2, _3, ... cost no more than any others);
// - about 50 MB of dense missions in 500 sections (no empty lines, nearly every line translated,
//   the scripts 2.5 times the input) at 150 MB/s or more.
//
//   brennic-bench --cli PATH --work DIR [--real FILE] [--runs N] [--size-mb MB]
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
                  std::mt19937& random, bool sameName) {
    const std::size_t start = out.size();
    const char* maps[] = {"nyc", "sanb", "miami", "uk"};
    const int name = sameName ? 1 : section;
    out += "[" + std::to_string(name) + "] \r\n";
    out += "Mission " + std::to_string(name) + ", 22, " + maps[name % 4] + ".cmp, 0, \r\n";
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

fs::path generate(const fs::path& folder, int sections, std::size_t totalBytes, bool sameName) {
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
        writeSection(text, section, totalBytes / static_cast<std::size_t>(sections), blocks, random,
                     sameName);
        if (text.size() > (1 << 22)) {
            out << text;
            text.clear();
        }
    }
    out << text;
    return file;
}

// A dense section: no empty lines, objects (45%) and commands mixed, nearly every line translated
// with every box on; the scripts come to about 2.5 times the input. The counted kinds stay at
// about half a percent of the lines each: the run totals are 16-bit.
void writeDenseSection(std::string& out, int section, std::size_t lines, std::mt19937& random) {
    const auto below = [&random](unsigned limit) { return random() % limit; };
    const auto perMille = [&below](unsigned share) { return below(1000) < share; };
    const auto pick = [&below](const std::vector<std::string>& texts) {
        return texts[below(static_cast<unsigned>(texts.size()))];
    };
    const char* maps[] = {"nyc", "sanb", "miami", "uk"};
    out += "[" + std::to_string(section) + "] \r\n\r\n";
    out += "Mission number " + std::to_string(section) + ", 22, " + maps[section % 4] +
           ".cmp, 0, \r\n100 1 1 1 1 0 \r\n";
    std::vector<std::string> objects;
    for (std::size_t i = 0; i < lines; ++i) {
        const std::string number = std::to_string(below(30000));
        const bool object = perMille(450);
        const std::string triple = perMille(700) ? "(" + std::to_string(1 + below(254)) + "," +
                                                       std::to_string(1 + below(254)) + "," +
                                                       std::to_string(1 + below(5)) + ")"
                                                 : "(" + std::to_string(64 + below(15936)) + "," +
                                                       std::to_string(64 + below(15936)) + "," +
                                                       (perMille(500) ? "192" : "256") + ")";
        if (object) {
            const std::string kind =
                perMille(120)
                    ? pick({"DUMMY 0 0", "TELEPHONE 0 768", "PARKED 22 256", "FUTURECAR 4 512",
                            "FUTUREPED 0 512", "DOOR 1 11 7", "POWERUP 1 99", "PED 0 256 60",
                            "HELLS 41 256", "SPRAY 1 0", "BOMBSHOP 0 0"})
                    : pick({"TRIGGER 2000 1", "TARGET 0 0", "CRANE 1 512", "MPHONES 27 3",
                            "MIDPOINT_MULTI 3", "BARRIER 281 6", "LAMPPOST 310 4"});
            out += number + " 1 " + triple + " " + kind + " \r\n";
            objects.push_back(number);
            continue;
        }
        const std::string a = objects.empty() ? "0" : pick(objects);
        std::vector<std::string> commands = {
            "ARROW " + a + " 0 0 0 0",      "PED_ON " + a + " 0 0 0 0",
            "CAR_ON " + a + " 0 0 0 0",     "SURVIVE 0 0 0 5 0",
            "POWERUP_ON " + a + " 0 0 0 0", "GOTO " + a + " 0 29041 100 0",
            "ARROW_OFF 0 0 0 0 0",          "IS_GOAL_DEAD " + a + " 0 0 0 0",
            "INC_HEADS 2 0 0 0 0",          "KICKSTART 0 0 0 0 0"};
        if (!perMille(900)) { // the counted commands too
            commands.insert(commands.end(),
                            {"MOBILE_BRIEF 0 0 0 0 1001", "BRIEF 0 0 0 0 1002",
                             "STEAL " + a + " 0 -1 0 0", "PARK " + a + " 0 0 3 20000",
                             "ANSWER " + a + " 0 4270 10 2500"});
        }
        out += std::to_string(30000 + below(29999)) + " " + pick(commands) + " \r\n";
    }
    out += "-1 \r\n";
}

fs::path generateDense(const fs::path& folder, int sections, std::size_t totalBytes) {
    fs::create_directories(folder);
    const fs::path file = folder / "mission.ini";
    if (fs::exists(file)) {
        return file;
    }
    std::mt19937 random(7);
    const std::size_t lines = std::max<std::size_t>(
        8, totalBytes / static_cast<std::size_t>(sections) / 34); // ~34 B a line
    std::ofstream out(file, std::ios::binary);
    std::string text;
    for (int section = 1; section <= sections; ++section) {
        writeDenseSection(text, section, lines, random);
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
    const Measure m = runProgram({cli, "--mission-dir", subject.missionFolder.string(),
                                  "--output-dir", subject.output.string(), "--all"},
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

void printRuns(const char* label, const std::vector<double>& times) {
    std::printf("  %s (median of %zu): %.4f s   runs:", label, times.size(), median(times));
    for (const double seconds : times) {
        std::printf(" %.4f", seconds);
    }
    std::printf("\n");
}

bool target(bool met, const char* text) {
    std::printf("  target %s: %s\n", met ? "met" : "MISSED", text);
    return met;
}

Subject subject(const fs::path& work, const std::string& name) {
    Subject s;
    s.name = name;
    s.missionFolder = work / name;
    s.output = work / (name + "-out");
    return s;
}

// Every subject converts once in each round: a slow spell of a shared machine then falls on all.
void convertInRounds(const std::string& cli, const fs::path& work, std::vector<Subject*> subjects,
                     int runs) {
    for (int run = 0; run < runs; ++run) {
        for (Subject* s : subjects) {
            convertOnce(cli, work, *s);
        }
    }
}

bool bench(const std::string& cli, const fs::path& work, const fs::path& real, std::size_t bytes,
           int runs) {
    bool met = true;
    if (!real.empty()) {
        Subject file = subject(work, "real");
        fs::create_directories(file.missionFolder);
        file.input = file.missionFolder / "mission.ini";
        fs::copy_file(real, file.input, fs::copy_options::overwrite_existing);
        std::vector<double> help;
        for (int run = 0; run < 4 * runs; ++run) {
            convertOnce(cli, work, file);
            help.push_back(runProgram({cli, "--help"}, "/dev/null").seconds);
        }
        std::printf("%s: %.1f KB\n", real.string().c_str(),
                    static_cast<double>(fs::file_size(real)) / 1e3);
        printRuns("convert", file.times);
        printRuns("brennic-cli --help", help);
        std::printf("  convert/help %.2f\n", median(file.times) / median(help));
        met &= target(median(file.times) <= 1.5 * median(help),
                      "within 1.5 times the time of brennic-cli --help");
    }

    Subject large = subject(work, "large-sections");
    large.input = generate(large.missionFolder, 1000, bytes, false);
    convertInRounds(cli, work, {&large}, runs);
    for (int run = 0; run < runs; ++run) {
        copyOnce(work, large);
    }
    const double inMB = static_cast<double>(fs::file_size(large.input)) / 1e6;
    const double t = median(large.times);
    std::printf("1 000 sections: %.1f MB in, %.1f MB out\n", inMB,
                static_cast<double>(folderBytes(large.output)) / 1e6);
    printRuns("convert", large.times);
    printRuns("cp floor (input + scripts)", large.floors);
    std::printf("  %.0f MB/s, converter/floor %.2f, peak resident memory %.1f MB\n", inMB / t,
                t / median(large.floors), static_cast<double>(large.peakKiB) / 1024);
    met &= target(inMB / t >= 200, "200 MB/s or more");
    met &= target(t <= 3 * median(large.floors), "within 3 times the cp floor");
    met &= target(large.peakKiB < 64 * 1024, "peak memory under 64 MB");
    fs::remove_all(large.output);

    const std::size_t smallBytes = bytes / 5; // 20 000 sections of about 1 KB
    Subject distinct = subject(work, "distinct-names");
    distinct.input = generate(distinct.missionFolder, 20000, smallBytes, false);
    Subject same = subject(work, "same-name");
    same.input = generate(same.missionFolder, 20000, smallBytes, true);
    convertInRounds(cli, work, {&distinct, &same}, runs);
    std::printf("20 000 sections, %.1f MB:\n",
                static_cast<double>(fs::file_size(same.input)) / 1e6);
    printRuns("as many names", distinct.times);
    printRuns("one name", same.times);
    met &= target(median(same.times) <= 1.5 * median(distinct.times),
                  "one name within 1.5 times as many names");
    fs::remove_all(distinct.output);
    fs::remove_all(same.output);

    Subject dense = subject(work, "dense");
    dense.input = generateDense(dense.missionFolder, 500, bytes / 2);
    convertInRounds(cli, work, {&dense}, runs);
    const double denseMB = static_cast<double>(fs::file_size(dense.input)) / 1e6;
    const double denseTime = median(dense.times);
    std::printf("dense missions in 500 sections: %.1f MB in, %.1f MB out\n", denseMB,
                static_cast<double>(folderBytes(dense.output)) / 1e6);
    printRuns("convert", dense.times);
    std::printf("  %.0f MB/s, peak resident memory %.1f MB\n", denseMB / denseTime,
                static_cast<double>(dense.peakKiB) / 1024);
    met &= target(denseMB / denseTime >= 150, "150 MB/s or more");
    return met;
}

} // namespace

int main(int argc, char** argv) {
    std::string cli;
    fs::path work = "build/bench";
    fs::path real;
    int runs = 5;
    double sizeMB = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--cli") {
            cli = argv[i + 1];
        } else if (option == "--work") {
            work = argv[i + 1];
        } else if (option == "--real") {
            real = argv[i + 1];
        } else if (option == "--runs") {
            runs = std::atoi(argv[i + 1]);
        } else if (option == "--size-mb") {
            sizeMB = std::atof(argv[i + 1]);
        }
    }
    if (cli.empty() || runs < 1) {
        std::fprintf(stderr, "usage: brennic-bench --cli PATH [--work DIR] [--real FILE] "
                             "[--runs N] [--size-mb MB]\n");
        return 2;
    }
    cli = fs::absolute(cli).string();
    fs::create_directories(work);
    const auto bytes = static_cast<std::size_t>(sizeMB * 1e6);
    return bench(cli, work, real, bytes, runs) ? 0 : 1;
}
