#pragma once
// Runs lyrabox-cli in-process and captures what it prints.
#include <string>
#include <vector>

struct CliResult {
    int code;
    std::string out;
    std::string err;
};

CliResult RunCli(std::vector<std::string> args);

// A fresh scratch folder named after the running test.
std::string CliScratch();
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& data);
