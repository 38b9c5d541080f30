// The layout's colours, kept readable on the desktop's palette: each text reaches its contrast
// floor on the ground it is drawn on, and follows a change of palette while the program runs.
#include "ui/form1.h"

#include "ui/highcontrast.h"
#include "ui/layoutstyle.h"
#include "ui/readablecolour.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

// The layout's colours, chosen for a light button face.
constexpr quint32 Magenta = 0x00C000C0;
constexpr quint32 Blue = 0x00FF0000;
constexpr quint32 Red = 0x000000FF;
constexpr quint32 LightCyan = 0x00FFFFC0;

void setColour(QWidget *control, QPalette::ColorRole role, const QColor &colour,
               QPalette::ColorGroup group = QPalette::All)
{
    QPalette palette = control->palette();
    palette.setColor(group, role, colour);
    control->setPalette(palette);
}

// The platform's text colour of a box in the group, readable on the box's ground there.
QColor readableText(const QLineEdit *box, QPalette::ColorGroup group)
{
    const QPalette natural = QApplication::palette(box);
    return readablecolour::readableOn(natural.color(group, QPalette::Text),
                                      natural.color(group, QPalette::Base),
                                      readablecolour::TextFloor);
}

// The text of an enabled box, readable on its own ground.
void keepReadable(QLineEdit *box)
{
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive })
        setColour(box, QPalette::Text, readableText(box, group), group);
}

} // namespace

void Form1::applyColours()
{
    using readablecolour::readableOn;
    const std::optional<HighContrastColours> highContrast = highContrastColours();
    // Labels fill their ground with the window's colour; the banner has its own.
    const QColor ground = palette().color(QPalette::Window);
    const auto labelColour = [&](quint32 bgr) {
        return highContrast
                ? highContrast->text
                : readableOn(layoutstyle::fromBgr(bgr), ground, readablecolour::LabelFloor);
    };
    setColour(Label1, QPalette::WindowText, labelColour(Magenta));
    for (QLabel *caption : { Label2, Label3, Label4, Label8 })
        setColour(caption, QPalette::WindowText, labelColour(Blue));
    setColour(Label6, QPalette::WindowText, labelColour(Red));
    setColour(Label5, QPalette::WindowText,
              highContrast ? highContrast->text : layoutstyle::fromBgr(Red));
    setColour(Label5, QPalette::Window, highContrast ? ground : layoutstyle::fromBgr(LightCyan));

    keepReadable(Text1);
    keepReadable(Text2);
    // The answer stays greyed, in the platform's disabled colour wherever that is readable.
    setColour(Text3, QPalette::Text,
              highContrast ? highContrast->grayText : readableText(Text3, QPalette::Disabled),
              QPalette::Disabled);
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A theme change, Windows' system colours included, reaches the window as a new palette.
    if (event->type() == QEvent::PaletteChange)
        applyColours();
}
