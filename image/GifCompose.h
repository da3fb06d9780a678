#pragma once
// Drawing GIF frames onto the logical screen the way viewers show an animation.
//
// Two forms of the screen picture are used. While every frame so far shares one
// colour table and the first frame covered the screen, the screen is that indexed
// picture and later frames are drawn into it by index (GifMix). Otherwise it is a
// 24-bit picture with an alpha plane: pixels no frame has drawn, or that a frame
// cleared, have alpha 0; drawn pixels alpha 255.
#include <cstdint>

class LbImage;

struct GifRect {
    uint32_t left = 0, top = 0, width = 0, height = 0;
};

// Draws the indexed frame into the indexed picture at (left, top), clipped to the
// picture; pixels of index transIndex (-1: none) are not drawn.
void GifMix(LbImage& picture, const LbImage& frame, uint32_t left, uint32_t top, int32_t transIndex);

// Makes an empty screen: 24 bits, every pixel black with alpha 0. False, with the
// reason in screen's last error, when it cannot be made.
bool GifNewScreen(LbImage& screen, uint32_t width, uint32_t height);

// The indexed picture as a 24-bit screen with alpha (index transIndex: alpha 0).
bool GifScreenFromIndexed(const LbImage& indexed, int32_t transIndex, LbImage& screen);

// Draws the frame's colours into the screen at (left, top), clipped; pixels of index
// transIndex (-1: none) leave the screen as it was.
void GifDrawOnScreen(LbImage& screen, const LbImage& frame, uint32_t left, uint32_t top, int32_t transIndex);

// Clears the rectangle (clipped) to black with alpha 0: "restore to background".
void GifClearOnScreen(LbImage& screen, const GifRect& rect);

// Drops the alpha plane when every pixel is opaque.
void GifDropOpaqueAlpha(LbImage& screen);
