#include "logo/BackgroundColour.h"

#include <cstdio>

namespace logo {

bool ParseBackground(const std::string& text, LbRgbQuad& colour) {
    if (text == "white" || text == "black") {
        const uint8_t v = text == "white" ? 255 : 0;
        colour = LbRgbQuad{v, v, v, 0};
        return true;
    }
    const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    const unsigned long v = std::stoul(hex, nullptr, 16);
    colour = LbRgbQuad{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0};
    return true;
}

std::string BackgroundText(LbRgbQuad c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

}  // namespace logo
