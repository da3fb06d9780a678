#include "cli/support/CliRun.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/Cli.h"

CliResult RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), "lyrabox-cli");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    int code = cli::Run(static_cast<int>(argv.size()), argv.data());
    CliResult r{code, ::testing::internal::GetCapturedStdout(), ::testing::internal::GetCapturedStderr()};
    return r;
}

CliResult RunCliInChild(std::vector<std::string> args, const std::string& dir, const std::function<void()>& prepare) {
    const std::string out = dir + "/child-out.txt", err = dir + "/child-err.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) _exit(99);
        prepare();
        args.insert(args.begin(), "lyrabox-cli");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        const int code = cli::Run(static_cast<int>(argv.size()), argv.data());
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadAll(out), ReadAll(err)};
}

std::string CliScratch() {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir =
        std::filesystem::path(LYRA_TEST_TMP) / "cli" / (std::string(t->test_suite_name()) + "." + t->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}
