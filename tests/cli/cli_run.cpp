#include "cli_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "common/temporary_folder.h"

extern char** environ;

namespace orvane::test {

CliRun runCli(const std::vector<std::string>& args, const std::string& emulator,
              const std::string& state) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("orvane-cli-run-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto outPath = dir / "out", errPath = dir / "err";

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view v(*e);
        if (!v.starts_with("TAVREL_EMULATOR")) env.emplace_back(v);
    }
    env.push_back("TAVREL_EMULATOR=" + emulator);
    if (!state.empty()) env.push_back("TAVREL_EMULATOR_STATE=" + state);

    std::vector<std::string> argv{ORVANE_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp, envp;
    for (auto& a : argv)
        argp.push_back(a.data());
    argp.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    CliRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    std::filesystem::remove_all(dir);
    return run;
}

} // namespace orvane::test
