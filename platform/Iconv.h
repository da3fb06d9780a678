#pragma once
// A character-set converter (iconv) opened and closed around the conversions of one
// text: the one place the project drives iconv.
#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    // False when the system has no converter between the two encodings.
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in into out; on failure out holds what converted before the byte
    // that stopped it, and badOffset is that byte's offset.
    bool Run(std::string_view in, std::string& out, size_t& badOffset);

private:
    iconv_t cd_;
};
