#pragma once
// Every fuzz target judges its inputs under a small budget instead of the program's:
// a lying header then costs microseconds to milliseconds instead of seconds, so a run
// tries thousands of inputs instead of replaying its corpus. The program's own limits
// are the resource tests' part. scripts/fuzz.sh passes -malloc_limit_mb just above
// kFuzzMemoryMiB, so any single allocation the budget lets through unnoticed is reported.
#include <cstdint>

#include "image/LbBudget.h"

inline constexpr uint64_t kFuzzMemoryMiB = 16;

inline LbLimits FuzzLimits() {
    LbLimits limits;
    limits.memory = kFuzzMemoryMiB << 20;
    limits.pixels = 1u << 20;  // 4 MiB as 32-bit pixels, so a copy or two fits the memory
    limits.drawnPixels = 2u << 20;
    limits.scanSamples = 16u << 20;
    limits.chunkBytes = 1u << 20;
    return limits;
}

// Set before the first input, also when the target is replayed without libFuzzer.
inline const bool kFuzzBudgetInForce = (LbSetDefaultLimits(FuzzLimits()), true);
