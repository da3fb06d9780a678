#pragma once
// Writing a file so that a failure never leaves a half-written file in its place:
// the bytes go to a temporary file in the same folder, which is renamed over the
// target only when everything was written and flushed.
#include <string>
#include <string_view>

namespace platform {

// Writes data to path atomically. On failure the target is untouched, the temporary
// file is removed, and error (if given) says why.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error = nullptr);

// Reads a whole file, at most maxBytes of it. False when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& out, size_t maxBytes = static_cast<size_t>(-1));

}  // namespace platform
