#pragma once

#include <QColor>

#include <optional>

// A high-contrast theme the user has turned on, in which the user has chosen every colour and a
// program shows text in the theme's own (Windows); other desktops have none.
struct HighContrastColours
{
    QColor text; // the windows' text
    QColor grayText; // disabled text
};

std::optional<HighContrastColours> highContrastColours();
