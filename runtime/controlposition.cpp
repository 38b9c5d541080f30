#include "runtime/controlposition.h"

#include "runtime/twips.h"

#include <QVariant>
#include <QWidget>

#include <cmath>

namespace runtime {
namespace {

constexpr char LeftProperty[] = "Left";

} // namespace

float controlLeft(const QWidget *control)
{
    const QVariant stored = control->property(LeftProperty);
    return stored.isValid() ? stored.toFloat() : static_cast<float>(control->x() * TwipsPerPixel);
}

void setControlLeft(QWidget *control, float left)
{
    control->setProperty(LeftProperty, left);
    control->move(static_cast<int>(std::lround(left / TwipsPerPixel)), control->y());
}

} // namespace runtime
