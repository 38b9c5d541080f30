#include "ui/highcontrast.h"

#include <qt_windows.h>

namespace {

QColor systemColour(int index)
{
    const COLORREF colour = GetSysColor(index);
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

} // namespace

std::optional<HighContrastColours> highContrastColours()
{
    HIGHCONTRASTW settings = {};
    settings.cbSize = sizeof settings;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, settings.cbSize, &settings, 0)
        || !(settings.dwFlags & HCF_HIGHCONTRASTON))
        return std::nullopt;
    return HighContrastColours{ systemColour(COLOR_WINDOWTEXT), systemColour(COLOR_GRAYTEXT) };
}
