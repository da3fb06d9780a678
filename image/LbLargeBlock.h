#pragma once
// A hint for the pixel block of a large picture that is about to be filled
// whole: back it with huge pages where the system allows, so that filling 36 MB
// takes a few dozen page faults instead of thousands. Only a hint: nothing
// changes when the system declines.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define LB_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LB_ADDRESS_SANITIZER 1
#endif
#endif

inline void LbAdviseFill(void* block, size_t bytes) {
#ifdef LB_ADDRESS_SANITIZER
    // The sanitizer's allocator hands freed blocks out again in small pieces; the
    // hint would stay on them and make every small block cost a huge page.
    (void)block;
    (void)bytes;
#else
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    if (block == nullptr || bytes < 4 * kHuge) return;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(kHuge - 1);
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
}
