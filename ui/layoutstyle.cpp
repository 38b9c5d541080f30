#include "ui/layoutstyle.h"

namespace layoutstyle {

QFont font(const FontSetting &setting)
{
    constexpr qreal layoutDotsPerInch = 96.0;
    constexpr qreal pointsPerInch = 72.0;
    QFont font(QString::fromLatin1(setting.face));
    font.setPixelSize(qRound(setting.points * layoutDotsPerInch / pointsPerInch));
    font.setWeight(setting.bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(setting.underline);
    return font;
}

} // namespace layoutstyle
