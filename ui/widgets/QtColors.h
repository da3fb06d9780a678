#pragma once
// Bridges between Qt colours and the flat look's colour arithmetic.
#include <QColor>

#include "ui/ColorAdjust.h"

inline ui::Rgb ToRgb(const QColor& c) { return ui::Rgb{c.red(), c.green(), c.blue()}; }
inline QColor ToQColor(ui::Rgb c) { return QColor(c.r, c.g, c.b); }

// A system colour changed by the flat look's colour adjustment.
inline QColor Adjusted(const QColor& c, int lightPercent, int satPercent) {
    return ToQColor(ui::AdjustColor(ToRgb(c), lightPercent, satPercent));
}
