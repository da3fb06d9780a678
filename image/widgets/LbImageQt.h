#pragma once
// Bridges between LbImage and Qt paint surfaces: drawing with the transparency and
// alpha rules, stretching, and creating an image from a screen picture.
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>

#include "image/LbImage.h"

// Draws the image at (x, y) in a width x height rectangle (a negative size means the
// image's own). With a clip rectangle, drawing is limited to it. Transparent index,
// alpha channel and alpha palette are blended onto what the surface holds.
void LbDraw(const LbImage& image, QPainter& painter, int x, int y, int width = -1, int height = -1,
            const QRect* clip = nullptr);
// Stretching copy of the whole image into the rectangle; rows and columns are
// dropped or repeated (no smoothing), as a colour-on-colour stretch does.
void LbStretch(const LbImage& image, QPainter& painter, int x, int y, int width, int height);
// The image as a QImage (RGB32); a null QImage for an empty image.
QImage LbToQImage(const LbImage& image);
// Replaces the image by the picture: 24 bits per pixel (8 or fewer keep an indexed
// format with its colour table), type 0. False with "GetDIBits failed" when the
// picture cannot be read; a null picture leaves the image empty.
bool LbCreateFromQImage(LbImage& image, const QImage& picture);
bool LbCreateFromQPixmap(LbImage& image, const QPixmap& picture);
