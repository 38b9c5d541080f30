#include "runtime/controlposition.h"

#include "runtime/twips.h"

#include <QVariant>
#include <QWidget>

namespace runtime {
namespace {

constexpr char LeftProperty[] = "Left";

} // namespace

float controlLeft(const QWidget *control)
{
    const QVariant stored = control->property(LeftProperty);
    return stored.isValid() ? stored.toFloat() : pixelsToTwips(control->x());
}

void setControlLeft(QWidget *control, float left)
{
    control->setProperty(LeftProperty, left);
    control->move(twipsToNearestPixel(left), control->y());
}

} // namespace runtime
