#pragma once

#include <QColor>
#include <QFont>

// Fonts and colours as the layout states them.
namespace layoutstyle {

struct FontSetting
{
    const char *face;
    qreal points;
    bool bold = false;
    bool underline = false;
};

// The layout is drawn for 96 dpi, so sizes become pixels there (11.25 pt is 15 pixels) and the
// text keeps its proportion to the pixel-sized controls whatever dpi the screen reports.
QFont font(const FontSetting &setting);

// A colour stored as &H00BBGGRR&.
inline QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace layoutstyle
