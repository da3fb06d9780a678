#pragma once
// 24-bit BMP files for the logo page tests, written byte by byte.
#include <QColor>
#include <functional>
#include <string>

// colour(x, y) with y counted from the top.
std::string TestBmp(int w, int h, const std::function<QRgb(int x, int y)>& colour);

// A colour as the device logo file gives it back: 5 bits a channel, widened again by
// repeating the top bits.
inline QRgb AsDeviceFile(QRgb c) {
    const QRgb five = c & 0xFFF8F8F8;
    return five | ((five >> 5) & 0x070707);
}
