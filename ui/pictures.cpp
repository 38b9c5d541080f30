#include "ui/pictures.h"

#include <QBitmap>
#include <QCursor>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace pictures {
namespace {

constexpr int HandHotSpotX = 5;
constexpr int HandHotSpotY = 0;

} // namespace

QIcon applicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/tallyvex-32.png"));
    icon.addFile(QStringLiteral(":/tallyvex-16.png"));
    return icon;
}

QPixmap pictureBoxStill()
{
    QImageReader reader(QStringLiteral(":/picture1.gif"));
    return QPixmap::fromImage(reader.read()); // the first frame only
}

QCursor handCursor()
{
    return QCursor(QBitmap(QStringLiteral(":/hand.xbm")),
                   QBitmap(QStringLiteral(":/hand-mask.xbm")), HandHotSpotX, HandHotSpotY);
}

} // namespace pictures
