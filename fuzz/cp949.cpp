// The CP949 conversions over arbitrary bytes: what converts one way converts back to
// the same bytes, and the display form never fails.
#include <cstdint>
#include <string>

#include "platform/Cp949.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)cp949::ToUtf8Lossy(bytes);
    const cp949::Conversion utf8 = cp949::ToUtf8(bytes);
    if (utf8.ok) {
        const cp949::Conversion back = cp949::FromUtf8(utf8.text);
        if (!back.ok || back.text != bytes) __builtin_trap();
    }
    const cp949::Conversion cp = cp949::FromUtf8(bytes);
    if (cp.ok) {
        const cp949::Conversion again = cp949::ToUtf8(cp.text);
        if (!again.ok) __builtin_trap();
    }
    return 0;
}
