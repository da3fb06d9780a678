#pragma once
// 24-bit BMP files for the logo page tests, written byte by byte.
#include <QColor>
#include <functional>
#include <string>

// colour(x, y) with y counted from the top.
std::string TestBmp(int w, int h, const std::function<QRgb(int x, int y)>& colour);
