#include "cli/support/CliRun.h"

#include <gtest/gtest.h>

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
