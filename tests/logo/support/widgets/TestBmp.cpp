#include "logo/support/widgets/TestBmp.h"

#include <cstdint>

std::string TestBmp(int w, int h, const std::function<QRgb(int x, int y)>& colour) {
    const int stride = (w * 3 + 3) & ~3;
    auto le = [](std::string& b, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(char(v >> (8 * i)));
    };
    std::string b = "BM";
    le(b, 54 + stride * h, 4), le(b, 0, 4), le(b, 54, 4), le(b, 40, 4), le(b, w, 4), le(b, h, 4), le(b, 1, 2);
    le(b, 24, 2), le(b, 0, 4), le(b, stride * h, 4), le(b, 3780, 4), le(b, 3780, 4), le(b, 0, 4), le(b, 0, 4);
    for (int row = h - 1; row >= 0; --row) {
        for (int x = 0; x < w; ++x) {
            const QRgb c = colour(x, row);
            b += {char(qBlue(c)), char(qGreen(c)), char(qRed(c))};
        }
        b.append(size_t(stride - 3 * w), '\0');
    }
    return b;
}
