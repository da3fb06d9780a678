#include "platform/Iconv.h"

#include <cerrno>

bool Iconv::Run(std::string_view in, std::string& out, size_t& badOffset) {
    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[4096];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        const size_t r = iconv(cd_, &src, &left, &dst, &room);
        out.append(buf, dst - buf);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            badOffset = in.size() - left;
            return false;
        }
        // glibc counts characters it replaced as irreversible; we never ask for that.
    }
    // The closing sequence of an encoding with shift states.
    char* dst = buf;
    size_t room = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buf, dst - buf);
    badOffset = in.size();
    return true;
}
