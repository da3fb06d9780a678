#pragma once
// Targets that go through file paths write their input to a private temporary file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string FuzzWriteFile(const char* name, const uint8_t* data, size_t size) {
    const std::string path = "/tmp/lyra-fuzz-" + std::to_string(getpid()) + "-" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}
