#pragma once
// Targets that go through file paths write their input to a private temporary file;
// those that go through the command line run it with its words.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "fuzz/FuzzBudget.h"

inline std::string FuzzWriteFile(const char* name, const uint8_t* data, size_t size) {
    const std::string path = "/tmp/lyra-fuzz-" + std::to_string(getpid()) + "-" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);  // an empty file may come with no data at all
        std::fclose(f);
    }
    return path;
}

// Runs lyrabox-cli with the words after its name; returns its exit code.
inline int FuzzCli(std::vector<std::string> words) {
    std::string name = "lyrabox-cli";
    std::vector<char*> argv{name.data()};
    for (std::string& w : words) argv.push_back(w.data());
    return cli::Run(int(argv.size()), argv.data());
}
