#pragma once
// Turning a decoded picture upright as its file's EXIF orientation says (phones store
// the sensor's rows and record how the camera was held).
#include <cstdint>

class LbImage;

// The eight orientations: 1 upright, 2 mirrored, 3 upside down, 4 flipped, 5 mirrored
// and turned left, 6 turned right to stand up, 7 mirrored and turned right, 8 turned
// left to stand up. Applies image.GetOrientation() (0 and 1: nothing to do) to the
// pixels and the alpha plane, then marks the picture upright (1). False, with the
// reason in its last error, when a turn cannot be made (the picture is then not to
// be used).
bool LbApplyOrientation(LbImage& image);

// True when the orientation asks for a change (2 to 8).
inline bool LbOrientationTurns(uint8_t orientation) { return orientation >= 2 && orientation <= 8; }
