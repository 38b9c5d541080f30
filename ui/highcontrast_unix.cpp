#include "ui/highcontrast.h"

std::optional<HighContrastColours> highContrastColours()
{
    return std::nullopt; // a dark or high-contrast desktop here is simply its palette
}
