#pragma once

// Design values of the windows: the layout is drawn in twips, colours and fonts as designed.

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

namespace stripmixer {

// 15 twips are one pixel at 96 dpi; the layout tables are written in twips. Sizes between two
// pixels (the search window's reveal) show at the nearest one.
constexpr int twips(int value) { return (value + 7) / 15; }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// The window's design background ("active border").
inline const QColor kActiveBorder{180, 180, 180};
inline const QColor kFrameCaption{0, 124, 195};
inline const QColor kStatusBarBack{224, 224, 224};
inline const QColor kYellow{255, 255, 0};
inline const QColor kLightGreen{128, 255, 128};
inline const QColor kRed{255, 0, 0};
inline const QColor kLogText{255, 192, 128};

// The look of an ordinary button; also "off" for the pixel buttons.
QColor buttonFace();

// A control's back colour. It goes through the palette (window, button and text-box roles
// alike), so it reads back as palette().color(backgroundRole()).
void setBackColor(QWidget *widget, const QColor &color);
QColor backColor(const QWidget *widget);

enum class Face { Comic, SansSerif };

// A font of the design: sizes are in points at 96 dpi and become pixel sizes, so the layout
// holds at any screen resolution. Every attribute is set, so nothing leaks from a parent.
QFont designFont(Face face, double points, bool bold = false, bool italic = false);

}  // namespace stripmixer
