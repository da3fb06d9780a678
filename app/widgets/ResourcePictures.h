#pragma once
// The program's own pictures: toolbar bitmaps (one 35-pixel-wide picture per button,
// light grey 192,192,192 as the transparent colour) and the 16x16 tab icons.
#include <QIcon>
#include <QImage>

constexpr int kToolbarPictureWidth = 35;
constexpr int kTabIconMemo = 129;
constexpr int kTabIconLogo = 130;

// Bitmap of toolbar resource 128, 132 or 107; a null image for other numbers.
QImage ToolbarBitmap(int resource);
// The picture of one command, as drawn into the toolbar bitmaps.
QImage CommandPicture(int id);
QIcon TabIcon(int resource);
