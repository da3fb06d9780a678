#pragma once
// Runs lyrabox-cli in-process and captures what it prints.
#include <functional>
#include <string>
#include <vector>

struct CliResult {
    int code;
    std::string out;
    std::string err;
};

CliResult RunCli(std::vector<std::string> args);

// The same in a forked child, for what must not touch the test's own process (limits,
// redirections): its standard output and error go to files in dir, then prepare runs
// in the child (it may redirect them elsewhere).
CliResult RunCliInChild(std::vector<std::string> args, const std::string& dir, const std::function<void()>& prepare);

// A fresh scratch folder named after the running test.
std::string CliScratch();
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& data);
