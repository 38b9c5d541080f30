// Every caption, tooltip and accessible name of the window, in one place.
#include "ui/author.h"
#include "ui/form1.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The banner's notice: 59 characters on one line.
constexpr QLatin1StringView BannerNotice{
    "TALLYVEX : TWO NUMBERS IN, ONE EXACT ANSWER OUT, EVERY TIME"
};
static_assert(BannerNotice.size() == 59);

void setCaption(QPushButton *button, const char *caption, const char *toolTip)
{
    button->setText(QLatin1String(caption));
    button->setToolTip(QLatin1String(toolTip));
}

} // namespace

void Form1::setTexts()
{
    setWindowTitle(QStringLiteral("TALLYVEX !"));

    // "&" marks the access key: Alt with that letter clicks the button.
    setCaption(Command1, "&ADD", "Adds Two Value");
    setCaption(Command2, "&SUBTRACT", "Subtracts Two Value");
    setCaption(Command3, "&MULTIPLY", "Multiplies Two Value");
    setCaption(Command4, "&DIVIDE", "Divides Two Value");
    setCaption(Command5, "&CLEAR", "Clears The Input & Output Screen");
    Command6->setText(QStringLiteral("E&xit")); // no tooltip
    // The Exit menu item shares the access key; with two owners Alt+X would do nothing, so it
    // goes to the menu item alone. The button keeps its underlined x.
    Command6->setShortcut(QKeySequence());
    setCaption(Command7, "&GREATEST", "Displays The Greatest Number");
    setCaption(Command8, "&LEAST", "Displays The Least Number");
    setCaption(Command9, "&POW (A ^ B)", "Displays A ** B");
    setCaption(Command10, "M&OD", "Diplays The Remainder");

    Text1->setAccessibleName(QStringLiteral("Operand A"));
    Text2->setAccessibleName(QStringLiteral("Operand B"));
    Text3->setAccessibleName(QStringLiteral("Output"));
    // The picture boxes take the focus, so a screen reader must have something to say there.
    for (QLabel *box : Picture1) {
        box->setAccessibleName(QStringLiteral("Daisy"));
        box->setAccessibleDescription(QStringLiteral("A small picture of a daisy"));
    }

    Label1->setText(QStringLiteral("TALLYVEX"));
    Label2->setText(QStringLiteral("ENTER THE VALUE OF  '  A  '"));
    Label3->setText(QStringLiteral("ENTER THE VALUE OF  '  B  '"));
    Label4->setText(QStringLiteral("ACCURATE  OUTPUT"));
    Label5->setText(BannerNotice);
    Label6->setText(QStringLiteral("MY HOMEPAGE : "));
    Label8->setText(author::HomePageHost);
    Label8->setToolTip(author::HomePageHost);

    Help->setText(QStringLiteral("&Help"));
    About->setText(QStringLiteral("A&bout"));
    Exit->setText(QStringLiteral("E&xit"));
}
