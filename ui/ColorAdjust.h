#pragma once
// Colour arithmetic of the flat look: colours are lightened, darkened and washed out
// in hue-lightness-saturation space, each component on a 0 to 255 scale.
namespace ui {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Hls {
    int h = 0, l = 0, s = 0;  // hue scaled from degrees to 0..255
    bool operator==(const Hls&) const = default;
};

Hls RgbToHls(Rgb c);
Rgb HlsToRgb(Hls c);

// Moves a 0..255 value p percent towards 255 (p > 0) or towards 0 (p < 0).
int ShiftPercent(int value, int percent);

// Changes lightness by lightPercent and saturation by satPercent.
Rgb AdjustColor(Rgb c, int lightPercent, int satPercent);

// Multiplies every channel by (93 - 5 a) / 100: the shade steps of a drop shadow.
Rgb Darken(Rgb c, int a);

}  // namespace ui
