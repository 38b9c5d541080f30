#include "ui/layoutstyle.h"

namespace layoutstyle {

QFont font(const FontSpec &spec)
{
    constexpr qreal layoutDotsPerInch = 96.0;
    constexpr qreal pointsPerInch = 72.0;
    QFont font(QString::fromLatin1(spec.face));
    font.setPixelSize(qRound(spec.points * layoutDotsPerInch / pointsPerInch));
    font.setWeight(spec.bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(spec.underline);
    return font;
}

} // namespace layoutstyle
