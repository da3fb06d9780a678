#pragma once
// What the benchmarks that start "lyrabox-cli" as a whole process share: a scratch
// folder of their own and the path of the command line next to them.
#include <unistd.h>

#include <filesystem>
#include <string>

namespace bench {

// A folder under the temporary directory for this benchmark run, made on the first call
// and named by that call's prefix and the process id.
inline std::filesystem::path ScratchDir(const std::string& prefix) {
    static const std::filesystem::path dir = [&prefix] {
        std::filesystem::path d = std::filesystem::temp_directory_path() / (prefix + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

inline std::string CliPath() {
    // The benchmark lives in <build>/bench, the command line in <build>.
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "lyrabox-cli").string();
}

}  // namespace bench
