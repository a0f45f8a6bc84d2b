// Runs the bare Qt programs and the real program in turn, each with the
// measuring probe loaded, and prints the medians against their targets.
//
//   kvt_bench PROBE BARE BARE_TOUR PROGRAM [RUNS]
//
// Each round runs, in an order that turns from round to round: the bare
// window and the program to their first frames (and the program on through
// its screens and "แปลผล"), then the four empty windows and the program
// through the quick four-screen tour; then keyboard entry and a whole class
// of 1,000 children. KVT_BENCH_SKIP_KEYS=1 leaves out the keyboard-entry
// runs; KVT_BENCH_ONLY=class runs only the whole class.
//
// Needs an X server (DISPLAY); see run.sh.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char **environ;

namespace {

std::int64_t nowNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

struct Run {
    bool ok = false;
    std::string error;
    double startupMs = 0;
    double peakMiB = 0;
    std::map<std::string, double> values; // as the probe wrote them
};

Run runOnce(const std::string &program, const std::string &probe, const char *mode)
{
    Run run;
    char outPath[] = "/tmp/kvt_bench_XXXXXX";
    const int fd = mkstemp(outPath);
    if (fd < 0) {
        run.error = "no temporary file";
        return run;
    }
    close(fd);

    std::vector<std::string> settings {
        "LD_PRELOAD=" + probe, std::string("KVT_PROBE=") + mode, std::string("KVT_PROBE_OUT=") + outPath};
    std::vector<char *> env;
    for (char **entry = environ; *entry; ++entry) {
        const std::string line = *entry;
        if (line.rfind("LD_PRELOAD=", 0) != 0 && line.rfind("KVT_PROBE", 0) != 0)
            env.push_back(*entry);
    }
    for (std::string &line : settings)
        env.push_back(line.data());
    env.push_back(nullptr);
    std::string path = program;
    char *argv[] = {path.data(), nullptr};

    pid_t pid = 0;
    const std::int64_t started = nowNs();
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, env.data()) != 0) {
        run.error = "cannot start " + program;
        return run;
    }
    int status = 0;
    rusage usage {};
    const std::int64_t deadline = started + 60'000'000'000;
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (nowNs() > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            run.error = program + " did not end";
            break;
        }
        usleep(1000);
    }

    std::ifstream results(outPath);
    for (std::string line; std::getline(results, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string name = line.substr(0, equals);
        if (name == "error")
            run.error = line.substr(equals + 1);
        else
            run.values[name] = std::strtod(line.c_str() + equals + 1, nullptr);
    }
    std::remove(outPath);
    if (run.error.empty() && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        run.error = program + " ended with status " + std::to_string(status);
    if (run.error.empty() && !run.values.count("first_frame_ns"))
        run.error = "no first frame";
    run.ok = run.error.empty();
    if (run.ok)
        run.startupMs = (run.values["first_frame_ns"] - static_cast<double>(started)) / 1e6;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    return run;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void line(const std::string &what, double value, const char *unit, const char *target = "", const char *verdict = "")
{
    // Pad by characters, not bytes: some labels are Thai.
    std::size_t characters = 0;
    for (unsigned char byte : what)
        characters += (byte & 0xC0) != 0x80 ? 1 : 0;
    const std::string padding(characters < 46 ? 46 - characters : 0, ' ');
    std::printf("  %s%s %10.3f %-3s %-10s %s\n", what.c_str(), padding.c_str(), value, unit, target, verdict);
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

// Keyboard entry, in runs of its own: a whole front side (25 digits and
// Enter) and a whole back side (8 digits and Enter) typed into the program.
void keyEntry(const std::string &probe, const std::string &program, int runs)
{
    std::map<std::string, std::vector<double>> values;
    for (int round = 0; round < runs; ++round) {
        const Run run = runOnce(program, probe, "keys");
        if (!run.ok) {
            std::fprintf(stderr, "keyboard entry, round %d: %s\n", round + 1, run.error.c_str());
            return;
        }
        for (const auto &[name, value] : run.values)
            values[name].push_back(value);
    }
    std::printf("Keyboard entry, medians of %d runs\n", runs);
    for (const char *side : {"front", "back"}) {
        const std::string name = side;
        const std::string what = name == "front" ? "front side, 25 digits and Enter" : "back side, 8 digits and Enter";
        line(what + ", first key to results painted", median(values[name + "_form_ns"]) / 1e6, "ms");
        line("  a digit, key to its painted frame", median(values[name + "_key_frame_ns"]) / 1e6, "ms");
        line("  a digit, its own handling", median(values[name + "_key_handling_ns"]) / 1e3, "us");
        line("  Enter, key to results painted (acts 100 ms on)", median(values[name + "_enter_ns"]) / 1e6, "ms");
    }
}

// A class of 1,000 children copied with the keys, in runs of its own.
void wholeClass(const std::string &probe, const std::string &program, int runs)
{
    std::map<std::string, std::vector<double>> values;
    for (int round = 0; round < runs; ++round) {
        const Run run = runOnce(program, probe, "class");
        if (!run.ok) {
            std::fprintf(stderr, "whole class, round %d: %s\n", round + 1, run.error.c_str());
            return;
        }
        for (const auto &[name, value] : run.values)
            values[name].push_back(value);
    }
    const double frameMs = median(values["finish_frame_ns"]) / 1e6;
    const double classMiB = median(values["class_rss_kib"]) / 1024;
    std::printf("A whole class, medians of %d runs\n", runs);
    line("Ctrl+Enter to the front side's frame, 1,000 in list", frameMs, "ms", "< 16", verdict(frameMs < 16));
    line("  Ctrl+Enter, its own handling", median(values["finish_handling_ns"]) / 1e6, "ms");
    line("memory 1,000 children add", classMiB, "MiB", "< 5", verdict(classMiB < 5));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s PROBE BARE BARE_TOUR PROGRAM [RUNS]\n", argv[0]);
        return 2;
    }
    const std::string probe = argv[1];
    const std::string bare = argv[2];
    const std::string bareTour = argv[3];
    const std::string program = argv[4];
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 15;

    if (const char *only = std::getenv("KVT_BENCH_ONLY"); only && std::string(only) == "class") {
        wholeClass(probe, program, runs);
        return 0;
    }

    // One run of each first, not counted: it fills the disk and font caches.
    runOnce(bare, probe, "startup");
    runOnce(program, probe, "tour");
    runOnce(bareTour, probe, "screens");
    runOnce(program, probe, "screens");

    std::vector<double> bareStartup, bareMemory, startup, memory;
    std::map<std::string, std::vector<double>> latencies;
    std::vector<double> bareResident;
    std::vector<double> bareTourMs, bareTourMemory, tourMs, tourMemory;
    std::map<std::string, std::vector<double>> bareTourValues, tourValues;
    for (int round = 0; round < runs; ++round) {
        // Take turns at going first, so that neither gains from the other.
        Run first, second;
        if (round % 2 == 0) {
            first = runOnce(bare, probe, "startup");
            second = runOnce(program, probe, "tour");
        } else {
            second = runOnce(program, probe, "tour");
            first = runOnce(bare, probe, "startup");
        }
        for (const Run *run : {&first, &second}) {
            if (!run->ok) {
                std::fprintf(stderr, "round %d: %s\n", round + 1, run->error.c_str());
                return 1;
            }
        }
        bareStartup.push_back(first.startupMs);
        bareMemory.push_back(first.peakMiB);
        bareResident.push_back(first.values["welcome_rss_kib"] / 1024);
        startup.push_back(second.startupMs);
        memory.push_back(second.peakMiB);
        for (const auto &[name, value] : second.values)
            latencies[name].push_back(value);

        Run bareScreens, screens;
        if (round % 2 == 0) {
            screens = runOnce(program, probe, "screens");
            bareScreens = runOnce(bareTour, probe, "screens");
        } else {
            bareScreens = runOnce(bareTour, probe, "screens");
            screens = runOnce(program, probe, "screens");
        }
        for (Run *run : {&bareScreens, &screens}) {
            if (run->ok && !run->values.count("tour_end_ns"))
                run->error = "the tour did not reach the back side";
            if (!run->error.empty()) {
                std::fprintf(stderr, "round %d, tour: %s\n", round + 1, run->error.c_str());
                return 1;
            }
        }
        const auto tourTime
            = [](Run &run) { return (run.values["tour_end_ns"] - run.values["first_frame_ns"]) / 1e6 + run.startupMs; };
        bareTourMs.push_back(tourTime(bareScreens));
        bareTourMemory.push_back(bareScreens.peakMiB);
        tourMs.push_back(tourTime(screens));
        tourMemory.push_back(screens.peakMiB);
        for (const auto &[name, value] : bareScreens.values)
            bareTourValues[name].push_back(value);
        for (const auto &[name, value] : screens.values)
            tourValues[name].push_back(value);
    }

    const double startupRatio = median(startup) / median(bareStartup);
    const double memoryRatio = median(memory) / median(bareMemory);
    const double menuMs = median(latencies["menu_frame_ns"]) / 1e6;
    const double frontMs = median(latencies["front_frame_ns"]) / 1e6;
    const double backMs = median(latencies["back_frame_ns"]) / 1e6;
    const double frontUs = median(latencies["front_interpret_ns"]) / 1e3;
    const double backUs = median(latencies["back_interpret_ns"]) / 1e3;
    const double frontWithPressUs = median(latencies["front_interpret_ns_with_press"]) / 1e3;
    const double backWithPressUs = median(latencies["back_interpret_ns_with_press"]) / 1e3;

    std::printf("Medians of %d runs each\n", runs);
    line("start-up to first frame, bare Qt program", median(bareStartup), "ms");
    line("start-up to first frame, welcome screen", median(startup), "ms");
    line("  ratio", startupRatio, "", "<= 1.15", verdict(startupRatio <= 1.15));
    const auto &opens = latencies["sqlite_opens"];
    const double mostOpens = opens.empty() ? 0 : *std::max_element(opens.begin(), opens.end());
    line("SQLite connections by the first frame, most", mostOpens, "", "0", verdict(mostOpens == 0));
    line("peak memory, bare Qt program", median(bareMemory), "MiB");
    line("  resident once its window is drawn", median(bareResident), "MiB");
    line("peak memory, all four screens opened", median(memory), "MiB");
    line("  ratio", memoryRatio, "", "<= 1.25", verdict(memoryRatio <= 1.25));
    line("  resident once the welcome screen is drawn", median(latencies["welcome_rss_kib"]) / 1024, "MiB");
    line("  resident once the menu is drawn", median(latencies["Form2_rss_kib"]) / 1024, "MiB");
    line("  resident once the front side is drawn", median(latencies["Form3_rss_kib"]) / 1024, "MiB");
    line("  resident once the back side is drawn", median(latencies["Form4_rss_kib"]) / 1024, "MiB");
    line("click to first frame of the menu", menuMs, "ms", "<= 16.7", verdict(menuMs <= 16.7));
    line("click to first frame of the front side", frontMs, "ms", "<= 16.7", verdict(frontMs <= 16.7));
    line("click to first frame of the back side", backMs, "ms", "<= 16.7", verdict(backMs <= 16.7));
    line("\"แปลผล\" on the front side, click to texts", frontUs, "us", "< 100", verdict(frontUs < 100));
    line("\"แปลผล\" on the back side, click to texts", backUs, "us", "< 100", verdict(backUs < 100));
    line("  of which the program's handler, front side", median(latencies["front_interpret_ns_handler"]) / 1e3, "us");
    line("  of which the program's handler, back side", median(latencies["back_interpret_ns_handler"]) / 1e3, "us");
    line("  from the press instead, front side", frontWithPressUs, "us");
    line("  from the press instead, back side", backWithPressUs, "us");

    const double tourRatio = median(tourMs) / median(bareTourMs);
    const double tourMemoryRatio = median(tourMemory) / median(bareTourMemory);
    std::printf("Four-screen tour, medians of %d runs each: process start, welcome, menu, front side,\n"
                "back side, each button clicked on the first frame of the window before\n",
        runs);
    line("to the 4th first frame, four empty windows", median(bareTourMs), "ms");
    line("to the back side's first frame, the program", median(tourMs), "ms");
    line("  ratio", tourRatio, "", "<= 1.30", verdict(tourRatio <= 1.30));
    for (const auto &[name, what] : {std::pair {"menu_frame_ns", "  menu"},
             std::pair {"front_frame_ns", "  front side"}, std::pair {"back_frame_ns", "  back side"}}) {
        line(std::string(what) + ", click to frame, empty window", median(bareTourValues[name]) / 1e6, "ms");
        line(std::string(what) + ", click to frame, program", median(tourValues[name]) / 1e6, "ms");
    }
    line("peak memory after the tour, four empty windows", median(bareTourMemory), "MiB");
    line("peak memory after the tour, the program", median(tourMemory), "MiB");
    line("  ratio", tourMemoryRatio, "", "<= 1.25", verdict(tourMemoryRatio <= 1.25));

    if (const char *skip = std::getenv("KVT_BENCH_SKIP_KEYS"); !skip || std::string(skip) != "1")
        keyEntry(probe, program, runs);
    wholeClass(probe, program, std::min(runs, 5)); // each run copies 1,000 children
    return 0;
}
