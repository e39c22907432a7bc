// bench_soak: the campaigns a user's trust in the program rests on, run against the
// emulated interface through the real libtavrel.so and orvane-cli, with faults injected:
//
//   exchanges  configuration exchanges with 1 % of answers lost, late and duplicated
//   writes     config write --store under faults, each read back by a new process
//   updates    firmware updates with one fault at a seeded random point, each followed by
//              a clean update
//   replugs    the interface unplugged and plugged in again during configuration reads
//
// Invariants: every success reads back equal; every failure is told and leaves the stored
// configuration and the verified flash as the message says; nothing hangs; nothing is left
// half-written. Prints "N runs, F faults injected, L lost" per campaign and in total, and
// exits 1 on any break (L > 0).
//
//   bench_soak [--short] [--seed S]     (--short: a run of well under a minute, for CI)
//
// The exchanges and replug campaigns run in child processes of this program (the library
// reads its emulated bus once per process); orvane-cli is found beside this program.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "config/core/command_exchange.h"
#include "config/core/settings_file.h"
#include "config/core/transfer_sequences.h"
#include "device/tavrel_library.h"
#include "device/tavrel_report_port.h"
#include "report/clock.h"

extern char** environ;

namespace {

using namespace orvane;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr uint32_t kInterfaceVendor = 0x537F;
constexpr uint32_t kInterfaceProduct = 0x6425;
constexpr config::ReportLengths kLengths{8, 18};
// Longer than any exchange may take with its bound, so that a wait past it is a hang.
constexpr auto kHang = 3s;

struct Campaign {
    explicit Campaign(std::string n) : name(std::move(n)) {}
    std::string name;
    int runs = 0;
    int faults = 0;
    int told = 0; // failures the program reported
    std::vector<std::string> breaks;

    void broke(std::string what) {
        if (breaks.size() < 10) std::fprintf(stderr, "%s: %s\n", name.c_str(), what.c_str());
        breaks.push_back(std::move(what));
    }
    void print() const {
        std::printf("%-9s %d runs, %d faults injected, %d failures told, %zu lost\n", name.c_str(),
                    runs, faults, told, breaks.size());
    }
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool contains(const std::string& text, std::string_view piece) {
    return text.find(piece) != std::string::npos;
}

// ---- child processes

struct Finished {
    int exitCode = -1; // -1: killed or did not start
    bool hung = false;
    std::string out;
    std::string err;
    std::chrono::milliseconds took{};
};

// Runs a program with the emulated bus and state named, everything else of this
// environment kept; ends it when it runs past the limit.
Finished spawnProgram(const std::vector<std::string>& args, const std::string& emulator,
                      const fs::path& state, const fs::path& scratch,
                      std::chrono::seconds limit = 60s) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!std::string_view(*e).starts_with("TAVREL_EMULATOR")) env.emplace_back(*e);
    env.push_back("TAVREL_EMULATOR=" + emulator);
    if (!state.empty()) env.push_back("TAVREL_EMULATOR_STATE=" + state.string());
    std::vector<std::string> argv = args;
    std::vector<char*> argp, envp;
    for (auto& a : argv)
        argp.push_back(a.data());
    argp.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const fs::path outPath = scratch / "child.out", errPath = scratch / "child.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    Finished done;
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        done.err = "could not start " + args[0];
        return done;
    }
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) break;
        if (Clock::now() - start > limit) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            done.hung = true;
            break;
        }
        std::this_thread::sleep_for(2ms);
    }
    done.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    if (!done.hung && WIFEXITED(status)) done.exitCode = WEXITSTATUS(status);
    done.out = slurp(outPath);
    done.err = slurp(errPath);
    return done;
}

fs::path besideMe(const char* name) {
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

// ---- configurations

// Values any interface holds; the mixers stay as they are.
config::Configuration randomConfiguration(std::mt19937& random) {
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    config::Configuration c;
    for (int i = 0; i < config::kAxisCount; ++i) {
        c.axisChannel[static_cast<std::size_t>(i)] = pick(1, 8);
        c.axisInvert[static_cast<std::size_t>(i)] = pick(0, 1) == 1;
    }
    for (int i = 0; i < config::kButtonCount; ++i) {
        c.buttonChannel[static_cast<std::size_t>(i)] = pick(1, 8);
        c.buttonThreshold[static_cast<std::size_t>(i)] = pick(0, 255);
        c.buttonInvert[static_cast<std::size_t>(i)] = pick(0, 1) == 1;
        c.buttonActive[static_cast<std::size_t>(i)] = pick(0, 1) == 1;
    }
    c.decodingMode = pick(0, 1);
    c.option = {c.decodingMode == 0, c.decodingMode == 1};
    return c;
}

// What the interface keeps of a configuration (the boot-loader switch is never read back).
bool sameOnInterface(config::Configuration a, config::Configuration b) {
    a.bootloaderEnable = b.bootloaderEnable = false;
    return a == b;
}

std::optional<config::Configuration> readSettings(const fs::path& path) {
    const std::string text = slurp(path);
    if (text.empty()) return std::nullopt;
    const auto load = config::readSettingsFile(text, config::Configuration{}, "");
    if (load.failureMessage) return std::nullopt;
    return load.items;
}

// ---- the library's side, in a child process

int failed(const char* why) {
    std::fprintf(stderr, "%s\n", why);
    return 2;
}

struct Load {
    config::Configuration record;
    config::SequenceTally tally;
    bool hung = false;
};

Load loadConfiguration(report::ReportPort& port) {
    report::SteadyClock clock;
    Load load;
    load.tally = config::runSequence(
        config::SequenceKind::Load, config::loadSequence(),
        [&](std::string_view text) {
            auto built = config::buildRequest("F9", text, kLengths);
            const auto began = Clock::now();
            const auto outcome = config::runCommand(
                port, clock, std::get<report::ReportBuffer>(built), kLengths, true, load.record);
            if (Clock::now() - began > kHang) load.hung = true;
            return config::stepOutcome(outcome, kLengths);
        },
        [](double) {});
    return load;
}

bool open(TavrelLibrary& tavrel, const char* serial) {
    return tavrel.Open(kInterfaceVendor, kInterfaceProduct, nullptr, serial, nullptr, 1) == 1;
}

void close(TavrelLibrary& tavrel) {
    tavrel.CloseRead();
    tavrel.CloseWrite();
}

// Faults every Nth answer, counted over the device's life; primes, so that every command
// of the load sequence meets each fault.
constexpr int kDropEvery = 101, kLateEvery = 103, kDupEvery = 107;

// Child: count configuration exchanges on a faulty interface, each answer compared with
// the one a faultless interface gives to the same request. Prints "runs faults told lost".
int childExchanges(int count) {
    const std::string bus =
        "interface:serial=CLEAN:latency_ms=0,interface:serial=FAULTY:latency_ms=0"
        ":drop=" +
        std::to_string(kDropEvery) + ":late_ms=300:late_every=" + std::to_string(kLateEvery) +
        ":dup=" + std::to_string(kDupEvery);
    setenv("TAVREL_EMULATOR", bus.c_str(), 1);
    unsetenv("TAVREL_EMULATOR_STATE");
    TavrelLibrary tavrel;
    TavrelReportPort port(tavrel);
    report::SteadyClock clock;
    Campaign c("exchanges");

    std::vector<std::string> requests;
    for (const auto& step : config::loadSequence())
        if (!step.request.empty()) requests.push_back(step.request);
    std::map<std::string, std::vector<uint8_t>> truth;
    if (!open(tavrel, "CLEAN")) return failed("the faultless interface did not open");
    for (const auto& text : requests) {
        config::Configuration record;
        const auto outcome = config::runCommand(
            port, clock, std::get<report::ReportBuffer>(config::buildRequest("F9", text, kLengths)),
            kLengths, true, record);
        if (!outcome.answered) return failed("the faultless interface did not answer");
        truth[text].assign(outcome.answer.begin(), outcome.answer.begin() + kLengths.input);
    }
    close(tavrel);

    if (!open(tavrel, "FAULTY")) return failed("the faulty interface did not open");
    // Reads in programming mode, as the dialog makes them; the mode commands themselves
    // answer by the mode the interface is in, so only the reads are counted.
    config::Configuration ignored;
    for (int tries = 0; tries < 10; ++tries)
        if (config::runCommand(port, clock,
                               std::get<report::ReportBuffer>(
                                   config::buildRequest("F9", requests.front(), kLengths)),
                               kLengths, true, ignored)
                .answered)
            break;
    requests.erase(requests.begin());
    requests.pop_back();
    for (int i = 0; i < count; ++i) {
        const std::string& text = requests[static_cast<std::size_t>(i) % requests.size()];
        config::Configuration record;
        const auto began = Clock::now();
        const auto outcome = config::runCommand(
            port, clock, std::get<report::ReportBuffer>(config::buildRequest("F9", text, kLengths)),
            kLengths, true, record);
        ++c.runs;
        if (Clock::now() - began > kHang) c.broke("exchange " + std::to_string(i) + " hung");
        if (!outcome.answered) {
            ++c.told;
            continue;
        }
        const std::vector<uint8_t> got(outcome.answer.begin(),
                                       outcome.answer.begin() + kLengths.input);
        if (got != truth[text])
            c.broke("exchange " + std::to_string(i) + " (" + text + ") took a wrong answer");
    }
    close(tavrel);
    c.faults = count / kDropEvery + count / kLateEvery + count / kDupEvery;
    std::printf("%d %d %d %zu\n", c.runs, c.faults, c.told, c.breaks.size());
    return 0;
}

// Child: the interface leaves the bus `cutMs` after it was plugged in, while configuration
// reads run, and comes back. Every read that completes equals a faultless interface's;
// the reads that fail say so; after the replug a new Open works and a read completes.
// Prints "runs faults told lost".
int childReplug(int cutMs) {
    const std::string bus = "interface:serial=REF:latency_ms=1,interface:serial=CUT:latency_ms=1"
                            ":away_ms=150:replug_after_ms=" +
                            std::to_string(cutMs);
    setenv("TAVREL_EMULATOR", bus.c_str(), 1);
    unsetenv("TAVREL_EMULATOR_STATE");
    TavrelLibrary tavrel;
    TavrelReportPort port(tavrel);
    Campaign c("replugs");
    // The cut's clock runs from the start: read first, compare afterwards.
    if (!open(tavrel, "CUT")) return failed("the interface did not open");
    bool cut = false;
    std::vector<config::Configuration> completed;
    const auto start = Clock::now();
    while (!cut && Clock::now() - start < 5s) {
        const Load load = loadConfiguration(port);
        ++c.runs;
        if (load.hung) c.broke("a read hung");
        if (load.tally.complete()) {
            completed.push_back(load.record);
        } else {
            ++c.told;
            cut = true;
        }
    }
    close(tavrel);
    if (!cut) c.broke("the interface never left during the reads");
    if (!open(tavrel, "REF")) return failed("the faultless interface did not open");
    const Load reference = loadConfiguration(port);
    close(tavrel);
    if (!reference.tally.complete()) return failed("the faultless interface was not read");
    for (const auto& record : completed)
        if (!sameOnInterface(record, reference.record))
            c.broke("a read completed with other values");
    // Back on the bus: a new Open and a whole read.
    bool back = false;
    const auto away = Clock::now();
    while (!back && Clock::now() - away < 5s) {
        if (open(tavrel, "CUT")) {
            const Load load = loadConfiguration(port);
            close(tavrel);
            ++c.runs;
            back = load.tally.complete() && sameOnInterface(load.record, reference.record);
        }
        if (!back) std::this_thread::sleep_for(20ms);
    }
    if (!back) c.broke("no whole read after the interface came back");
    c.faults = 1;
    std::printf("%d %d %d %zu\n", c.runs, c.faults, c.told, c.breaks.size());
    return 0;
}

// Child: reads the stored configuration of the interface kept in the state file, as a new
// process after the interface was unplugged and plugged in again (until then it runs its
// working configuration, which a failed write may have left mixed), into a settings file.
int childReadStored(const std::string& serial, const fs::path& out) {
    const std::string bus = "interface:latency_ms=0:replug_after_ms=1:away_ms=30:serial=" + serial;
    setenv("TAVREL_EMULATOR", bus.c_str(), 1);
    TavrelLibrary tavrel;
    TavrelReportPort port(tavrel);
    // The bus comes up with the first Open; the interface leaves 1 ms later.
    if (open(tavrel, serial.c_str())) close(tavrel);
    std::this_thread::sleep_for(150ms);
    for (int tries = 0; tries < 100 && !open(tavrel, serial.c_str()); ++tries)
        std::this_thread::sleep_for(20ms);
    const Load load = loadConfiguration(port);
    close(tavrel);
    if (!load.tally.complete()) return failed("the stored configuration was not read");
    std::ofstream(out, std::ios::binary) << config::writeSettingsFile(load.record, "");
    return 0;
}

// Runs a child campaign of this program and adds its figures.
void runChild(Campaign& c, const std::vector<std::string>& args, const fs::path& scratch,
              std::chrono::seconds limit) {
    std::vector<std::string> argv{besideMe("bench_soak").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    const Finished f = spawnProgram(argv, "", {}, scratch, limit);
    int runs = 0, faults = 0, told = 0, lost = 0;
    if (f.hung) {
        c.broke("a child run hung: " + args[0] + " " + args[1]);
        return;
    }
    if (f.exitCode != 0 ||
        std::sscanf(f.out.c_str(), "%d %d %d %d", &runs, &faults, &told, &lost) != 4) {
        c.broke("a child run failed to run: " + args[0] + " " + args[1] + ": " + f.err);
        return;
    }
    std::fputs(f.err.c_str(), stderr);
    c.runs += runs;
    c.faults += faults;
    c.told += told;
    for (int i = 0; i < lost; ++i)
        c.breaks.push_back(args[0] + " " + args[1]);
}

// ---- the campaigns through orvane-cli

// The exchanges of one config write --store: transmit, read back, store.
int writeExchanges() {
    int n = 0;
    const config::Configuration any;
    for (const auto& steps :
         {config::transmitSequence(any), config::loadSequence(), config::storeSequence()})
        for (const auto& step : steps)
            n += step.request.empty() ? 0 : 1;
    return n;
}

// One fault for a configuration write at a random exchange: a lost answer, a late one, a
// duplicated one or a failed write. The faults that repeat every Nth time start past the
// middle, so that they hit once.
std::string writeFault(int run, std::mt19937& random) {
    const int n = writeExchanges();
    const int anywhere = std::uniform_int_distribution<int>(1, n)(random);
    const int once = std::uniform_int_distribution<int>(n / 2 + 1, n)(random);
    switch (run % 4) {
    case 0:
        return ":drop_once=" + std::to_string(anywhere);
    case 1:
        return ":late_ms=300:late_every=" + std::to_string(once);
    case 2:
        return ":dup=" + std::to_string(once);
    default:
        return ":write_fail=" + std::to_string(once);
    }
}

void campaignWrites(Campaign& c, int count, std::mt19937& random, const fs::path& scratch) {
    const fs::path cli = besideMe("orvane-cli");
    const fs::path state = scratch / "writes.state";
    const std::string clean = "interface:serial=W:latency_ms=0";
    const fs::path readBack = scratch / "read.orv";
    auto readStored = [&]() -> std::optional<config::Configuration> {
        fs::remove(readBack);
        const Finished r = spawnProgram(
            {besideMe("bench_soak").string(), "--child-read-stored", "W", readBack.string()}, "",
            state, scratch);
        if (r.hung) c.broke("a read back hung");
        if (r.exitCode != 0) return std::nullopt;
        return readSettings(readBack);
    };
    auto stored = readStored();
    if (!stored) {
        c.broke("the faultless interface could not be read");
        return;
    }
    for (int i = 0; i < count; ++i) {
        const config::Configuration wanted = randomConfiguration(random);
        const fs::path file = scratch / "wanted.orv";
        std::ofstream(file, std::ios::binary) << config::writeSettingsFile(wanted, "");
        const Finished w = spawnProgram({cli.string(), "config", "write", file.string(), "--store"},
                                        clean + writeFault(i, random), state, scratch);
        ++c.runs;
        ++c.faults;
        const std::string what = "write " + std::to_string(i);
        if (w.hung) c.broke(what + " hung");
        const bool success = w.exitCode == 0;
        if (success && !contains(w.out, "verified and stored"))
            c.broke(what + " succeeded without saying it stored");
        if (!success) {
            ++c.told;
            if (w.err.empty()) c.broke(what + " failed and said nothing");
        }
        const auto now = readStored();
        if (!now) {
            c.broke(what + ": the stored configuration could not be read back");
            continue;
        }
        const bool isNew = sameOnInterface(*now, wanted);
        const bool isOld = sameOnInterface(*now, *stored);
        if (success && !isNew) c.broke(what + " said stored, but the interface holds another");
        if (!isNew && !isOld) c.broke(what + " left a configuration half-written");
        // A failure before the store command leaves the stored configuration as it was.
        if (!success && isNew && !isOld && !contains(w.err, "Storing"))
            c.broke(what + " failed before storing, but the interface stored it: " + w.err);
        stored = now;
    }
}

// A firmware file for the whole application area.
std::string firmwareHex() {
    std::string text;
    char line[64];
    for (int address = 0x2000; address < 0x6000; address += 16) {
        int sum = 16 + (address >> 8) + (address & 0xFF);
        std::snprintf(line, sizeof line, ":10%04X00", address);
        text += line;
        for (int i = 0; i < 16; ++i) {
            const int b = ((address + i) * 7 + 3) & 0xFF;
            sum += b;
            std::snprintf(line, sizeof line, "%02X", b);
            text += line;
        }
        std::snprintf(line, sizeof line, "%02X\r\n", (-sum) & 0xFF);
        text += line;
    }
    return text + ":00000001FF\r\n";
}

void campaignUpdates(Campaign& c, int count, std::mt19937& random, const fs::path& scratch) {
    const fs::path cli = besideMe("orvane-cli");
    const fs::path hex = scratch / "fw.hex";
    std::ofstream(hex, std::ios::binary) << firmwareHex();
    const std::vector<std::string> flash{cli.string(), "firmware", "flash",
                                         hex.string(), "--wait",   "5"};
    const std::string loader = "loader:serial=F:latency_ms=0:away_ms=100";
    // How long a faultless update takes, for unplugging within it.
    const fs::path probeState = scratch / "probe.state";
    fs::remove(probeState);
    const Finished probe = spawnProgram(flash, loader, probeState, scratch);
    if (probe.exitCode != 0) {
        c.broke("a faultless update failed: " + probe.err);
        return;
    }
    const int updateMs = static_cast<int>(std::max<long>(probe.took.count(), 50));
    for (int i = 0; i < count; ++i) {
        const fs::path state = scratch / "update.state";
        fs::remove(state);
        // One lost answer among the probe, erase, program and verify exchanges (more than
        // 1200 of them), or the boot loader leaving the bus during the update.
        const std::string fault =
            i % 2 == 0
                ? ":drop_once=" +
                      std::to_string(std::uniform_int_distribution<int>(1, 1200)(random))
                : ":replug_after_ms=" +
                      std::to_string(std::uniform_int_distribution<int>(1, updateMs)(random));
        const Finished faulted = spawnProgram(flash, loader + fault, state, scratch);
        ++c.runs;
        ++c.faults;
        const std::string what = "update " + std::to_string(i) + " (" + fault.substr(1) + ")";
        if (faulted.hung) c.broke(what + " hung");
        const bool claimed = contains(faulted.out, "verified");
        if (faulted.exitCode == 0 && !claimed) c.broke(what + " ended well without verifying");
        if (faulted.exitCode != 0) {
            ++c.told;
            if (claimed) c.broke(what + " failed but claimed a verified flash");
            if (faulted.err.empty()) c.broke(what + " failed and said nothing");
        }
        if (i % 2 == 0 && faulted.exitCode == 0) c.broke(what + ": a lost answer went unnoticed");
        // The interface is in its boot loader again after a failure (and after a success
        // is switched back into it); a clean update then writes and verifies the flash.
        if (faulted.exitCode == 0)
            spawnProgram({cli.string(), "config", "bootloader"}, loader, state, scratch);
        const Finished again = spawnProgram(flash, loader, state, scratch);
        ++c.runs;
        if (again.hung) c.broke(what + ": the clean update after it hung");
        if (again.exitCode != 0 || !contains(again.out, "verified"))
            c.broke(what + ": the clean update after it failed: " + again.err);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--child-exchanges")
        return childExchanges(std::stoi(args[1]));
    if (args.size() == 2 && args[0] == "--child-replug") return childReplug(std::stoi(args[1]));
    if (args.size() == 3 && args[0] == "--child-read-stored")
        return childReadStored(args[1], args[2]);

    bool quick = false;
    unsigned seed = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--short")
            quick = true;
        else if (args[i] == "--seed" && i + 1 < args.size())
            seed = static_cast<unsigned>(std::stoul(args[++i]));
        else {
            std::fprintf(stderr, "usage: bench_soak [--short] [--seed S]\n");
            return 2;
        }
    }
    const int exchanges = quick ? 1000 : 10000, writes = quick ? 12 : 200,
              updates = quick ? 6 : 100, replugs = quick ? 5 : 50;
    std::mt19937 random(seed);
    std::string pattern = (fs::temp_directory_path() / "orvane-soak-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 2;
    const fs::path scratch = pattern;
    const auto began = Clock::now();

    std::vector<Campaign> campaigns{Campaign("exchanges"), Campaign("writes"), Campaign("updates"),
                                    Campaign("replugs")};
    const auto timed = [&](Campaign& c, const std::function<void()>& run) {
        const auto start = Clock::now();
        run();
        c.print();
        std::printf("          (%.1f s)\n",
                    std::chrono::duration<double>(Clock::now() - start).count());
        std::fflush(stdout);
    };
    timed(campaigns[0], [&] {
        runChild(campaigns[0], {"--child-exchanges", std::to_string(exchanges)}, scratch,
                 std::chrono::seconds(60 + exchanges / 20));
    });
    timed(campaigns[1], [&] { campaignWrites(campaigns[1], writes, random, scratch); });
    timed(campaigns[2], [&] { campaignUpdates(campaigns[2], updates, random, scratch); });
    timed(campaigns[3], [&] {
        for (int i = 0; i < replugs; ++i)
            runChild(campaigns[3],
                     {"--child-replug",
                      std::to_string(std::uniform_int_distribution<int>(5, 80)(random))},
                     scratch, 60s);
    });
    std::error_code ignored;
    fs::remove_all(scratch, ignored);

    int runs = 0, faults = 0;
    std::size_t lost = 0;
    for (const Campaign& c : campaigns) {
        runs += c.runs;
        faults += c.faults;
        lost += c.breaks.size();
    }
    std::printf("%d runs, %d faults injected, %zu lost (seed %u, %.0f s)\n", runs, faults, lost,
                seed, std::chrono::duration<double>(Clock::now() - began).count());
    return lost == 0 ? 0 : 1;
}
