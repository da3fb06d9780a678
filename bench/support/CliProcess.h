#pragma once
// What the benchmarks that work with files or start "lyrabox-cli" as a whole process
// share: a scratch folder of their own, the path of the command line next to them
// and the timed run of one command.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace bench {

// A folder under the temporary directory for this benchmark run, made on the first call
// and named by that call's prefix and the process id; removed with everything in it
// when the benchmark ends.
inline std::filesystem::path ScratchDir(const std::string& prefix) {
    struct Folder {
        std::filesystem::path path;
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder dir{[&prefix] {
        std::filesystem::path d = std::filesystem::temp_directory_path() / (prefix + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        return d;
    }()};
    return dir.path;
}

inline std::string CliPath() {
    // The benchmark lives in <build>/bench, the command line in <build>.
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "lyrabox-cli").string();
}

// Runs the shell command once per iteration; each run must end with the expected code.
inline void RunCommand(benchmark::State& state, const std::string& command, int expected = 0) {
    for (auto _ : state) {
        const int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != expected) state.SkipWithError(("failed: " + command).c_str());
    }
}

}  // namespace bench
