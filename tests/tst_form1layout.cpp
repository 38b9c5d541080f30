#include "support/formfixture.h"
#include "ui/readablecolour.h"

#include <QAccessible>
#include <QAction>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

// A text as drawn: of the control's pixels, the commonest is its ground, and the one that
// stands out most from the ground is its glyphs' colour.
struct DrawnText
{
    QColor glyph;
    QColor ground;
    double contrast = 1;
    QList<QRgb> colours; // every colour drawn
};

DrawnText drawnText(QWidget *control)
{
    // Inside a box's frame, so that the frame's own line is not taken for text.
    const int inset = qobject_cast<QLineEdit *>(control) ? 3 : 0;
    const QImage image =
            control->grab(control->rect().adjusted(inset, inset, -inset, -inset)).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    }
    DrawnText drawn;
    drawn.ground = QColor(
            std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
                return a.second < b.second;
            })->first);
    drawn.colours = counts.keys();
    for (const QRgb colour : drawn.colours) {
        const double contrast = readablecolour::contrastRatio(QColor(colour), drawn.ground);
        if (contrast > drawn.contrast) {
            drawn.glyph = QColor(colour);
            drawn.contrast = contrast;
        }
    }
    return drawn;
}

// The labels' own colours, which a light palette shows exactly.
const QHash<QString, QColor> LabelColour = {
    { QStringLiteral("Label1"), QColor(192, 0, 192) },
    { QStringLiteral("Label2"), Qt::blue },
    { QStringLiteral("Label3"), Qt::blue },
    { QStringLiteral("Label4"), Qt::blue },
    { QStringLiteral("Label6"), Qt::red },
    { QStringLiteral("Label8"), Qt::blue },
};

// KDE Plasma's Breeze Dark, as Qt reads it from kdeglobals.
QPalette darkPalette()
{
    QPalette dark(QColor(49, 54, 59), QColor(49, 54, 59));
    dark.setColor(QPalette::WindowText, QColor(239, 240, 241));
    dark.setColor(QPalette::ButtonText, QColor(239, 240, 241));
    dark.setColor(QPalette::Text, QColor(239, 240, 241));
    dark.setColor(QPalette::Base, QColor(35, 38, 41));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(98, 108, 118));
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(49, 54, 59));
    return dark;
}

} // namespace

class TestForm1Layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowAndClientArea();
    void controlGeometry_data();
    void controlGeometry();
    void labelsSizedToCaption_data();
    void labelsSizedToCaption();
    void buttons_data();
    void buttons();
    void labels_data();
    void labels();
    void textBoxes();
    void coloursFollowThePalette();
    void menus();
    void pictureBoxesAndTimer();
    void startsWithFocusInOperandA();
    void tabVisitsTheFocusOrderAndComesBack();
    void shiftTabGoesTheOtherWay();
    void outputCannotBeReached();
    void everyFocusStopHasAnAccessibleName();

private:
    std::unique_ptr<FormFixture> m_fixture;
};

void TestForm1Layout::init()
{
    m_fixture = std::make_unique<FormFixture>();
}

void TestForm1Layout::cleanup()
{
    m_fixture.reset();
}

void TestForm1Layout::windowAndClientArea()
{
    Form1 &form = m_fixture->form;
    QCOMPARE(form.windowTitle(), QStringLiteral("TALLYVEX !"));
    QCOMPARE(form.centralWidget()->size(), QSize(676, 465));
    QCOMPARE(form.centralWidget()->y(), form.menuBar()->height());
    QCOMPARE(form.height(), form.menuBar()->height() + 465);
    QCOMPARE(form.minimumSize(), form.maximumSize()); // the user cannot resize it
}

void TestForm1Layout::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");

    QTest::newRow("Command6") << "Command6" << QRect(480, 336, 97, 33);
    QTest::newRow("Command5") << "Command5" << QRect(400, 336, 81, 33);
    QTest::newRow("Command9") << "Command9" << QRect(304, 336, 97, 33);
    QTest::newRow("Command10") << "Command10" << QRect(200, 336, 105, 33);
    QTest::newRow("Text3") << "Text3" << QRect(328, 240, 265, 19);
    QTest::newRow("Text2") << "Text2" << QRect(328, 176, 265, 19);
    QTest::newRow("Text1") << "Text1" << QRect(328, 112, 265, 19);
    QTest::newRow("Command8") << "Command8" << QRect(112, 336, 89, 33);
    QTest::newRow("Command7") << "Command7" << QRect(480, 304, 97, 33);
    QTest::newRow("Command4") << "Command4" << QRect(400, 304, 81, 33);
    QTest::newRow("Command3") << "Command3" << QRect(304, 304, 97, 33);
    QTest::newRow("Command2") << "Command2" << QRect(200, 304, 105, 33);
    QTest::newRow("Command1") << "Command1" << QRect(112, 304, 89, 33);
    QTest::newRow("Label4") << "Label4" << QRect(96, 240, 217, 25);
    QTest::newRow("Label3") << "Label3" << QRect(16, 176, 297, 25);
    QTest::newRow("Label2") << "Label2" << QRect(16, 104, 297, 25);
    QTest::newRow("Label1") << "Label1" << QRect(168, 16, 377, 25);
}

void TestForm1Layout::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QCOMPARE(m_fixture->control(name.toLatin1().constData())->geometry(), pixels);
}

void TestForm1Layout::labelsSizedToCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("Label8") << "Label8" << QPoint(280, 396);
    QTest::newRow("Label6") << "Label6" << QPoint(128, 400);
    QTest::newRow("Label5") << "Label5" << QPoint(648, 440);
}

void TestForm1Layout::labelsSizedToCaption()
{
    QFETCH(QString, name);
    QFETCH(QPoint, topLeft);
    const auto *label = m_fixture->control<QLabel>(name.toLatin1().constData());
    const QFontMetrics metrics(label->font());
    if (label == m_fixture->control<QLabel>("Label5")) {
        // The banner may have scrolled already, by whole steps of 4 pixels to the left.
        QCOMPARE(label->y(), topLeft.y());
        QVERIFY2(label->x() <= topLeft.x() && (topLeft.x() - label->x()) % 4 == 0,
                 qPrintable(QString::number(label->x())));
    } else {
        QCOMPARE(label->pos(), topLeft);
    }
    // Wide enough for its caption and no wider than the caption's own line.
    QVERIFY(label->width() >= metrics.horizontalAdvance(label->text()));
    QVERIFY(label->width() <= metrics.horizontalAdvance(label->text()) + 2);
    QVERIFY(label->height() >= metrics.height());
    QVERIFY(label->height() <= metrics.height() + 2);
}

void TestForm1Layout::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("face");

    // clang-format off
    QTest::newRow("Command1") << "Command1" << "&ADD" << "Adds Two Value" << "Verdana";
    QTest::newRow("Command2") << "Command2" << "&SUBTRACT" << "Subtracts Two Value" << "Verdana";
    QTest::newRow("Command3") << "Command3" << "&MULTIPLY" << "Multiplies Two Value" << "Verdana";
    QTest::newRow("Command4") << "Command4" << "&DIVIDE" << "Divides Two Value" << "Verdana";
    QTest::newRow("Command5") << "Command5" << "&CLEAR" << "Clears The Input & Output Screen" << "Verdana";
    QTest::newRow("Command6") << "Command6" << "E&xit" << "" << "Verdana";
    QTest::newRow("Command7") << "Command7" << "&GREATEST" << "Displays The Greatest Number" << "Verdana";
    QTest::newRow("Command8") << "Command8" << "&LEAST" << "Displays The Least Number" << "Verdana";
    QTest::newRow("Command9") << "Command9" << "&POW (A ^ B)" << "Displays A ** B" << "Arial";
    QTest::newRow("Command10") << "Command10" << "M&OD" << "Diplays The Remainder" << "Verdana";
    // clang-format on
}

void TestForm1Layout::buttons()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    QFETCH(QString, face);
    const auto *button = m_fixture->control<QPushButton>(name.toLatin1().constData());
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), toolTip);
    QCOMPARE(button->font().family(), face);
    QCOMPARE(button->font().pixelSize(), 15); // 11.25 pt at 96 dpi
    QCOMPARE(button->font().weight(), QFont::Bold);
    QVERIFY(button->isEnabled());
    QVERIFY(!button->isDefault());
    // The caption, less its "&", fits inside the button's bevel, where the style draws it.
    const QString shown = QString(caption).remove(u'&');
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = caption;
    const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetrics metrics(button->font());
    QVERIFY2(metrics.horizontalAdvance(shown) <= contents.width(), qPrintable(shown));
    QVERIFY2(metrics.height() <= contents.height(), qPrintable(shown));
}

void TestForm1Layout::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QColor>("fore");

    const auto row = [](const char *name, const QString &caption, const char *face, int pixelSize,
                        bool bold, bool underline) {
        QTest::newRow(name) << name << caption << face << pixelSize << bold << underline
                            << LabelColour.value(QLatin1String(name));
    };
    row("Label1", "TALLYVEX", "Times New Roman", 24, true, true);
    row("Label2", "ENTER THE VALUE OF  '  A  '", "Times New Roman", 21, true, false);
    row("Label3", "ENTER THE VALUE OF  '  B  '", "Times New Roman", 21, true, false);
    row("Label4", "ACCURATE  OUTPUT", "Times New Roman", 21, true, false);
    row("Label6", "MY HOMEPAGE : ", "Verdana", 16, true, false);
    row("Label8", TALLYVEX_HOME_PAGE_HOST, "Verdana", 19, false, true);
}

void TestForm1Layout::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, face);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(bool, underline);
    QFETCH(QColor, fore);
    const auto *label = m_fixture->control<QLabel>(name.toLatin1().constData());
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->font().family(), face);
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->font().underline(), underline);
    QCOMPARE(label->palette().color(QPalette::WindowText), fore);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QVERIFY(label->autoFillBackground());
    // The whole caption shows: it is drawn from the top, so its tallest letter and its
    // underline must end above the label's bottom edge.
    const QFontMetrics metrics(label->font());
    QVERIFY(metrics.horizontalAdvance(caption) <= label->contentsRect().width());
    int inkBottom = metrics.ascent() + metrics.tightBoundingRect(caption).bottom() + 1;
    if (underline)
        inkBottom = std::max(inkBottom,
                             metrics.ascent() + metrics.underlinePos() + metrics.lineWidth());
    QVERIFY(inkBottom <= label->contentsRect().height());
}

void TestForm1Layout::textBoxes()
{
    for (const char *name : { "Text1", "Text2", "Text3" }) {
        const auto *box = m_fixture->control<QLineEdit>(name);
        QCOMPARE(box->text(), QString());
        QCOMPARE(box->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(box->font().pixelSize(), 13); // 9.75 pt at 96 dpi
        QCOMPARE(box->echoMode(), QLineEdit::Normal);
        QCOMPARE(box->toolTip(), QString());
    }
    QCOMPARE(m_fixture->control("Text1")->accessibleName(), QStringLiteral("Operand A"));
    QCOMPARE(m_fixture->control("Text2")->accessibleName(), QStringLiteral("Operand B"));
    QCOMPARE(m_fixture->control("Text3")->accessibleName(), QStringLiteral("Output"));
    QVERIFY(m_fixture->control("Text1")->isEnabled());
    QVERIFY(!m_fixture->control("Text3")->isEnabled());

    // No length limit: a long pasted text is kept whole.
    auto *text1 = m_fixture->control<QLineEdit>("Text1");
    const QString pasted(100'000, u'7');
    text1->insert(pasted);
    QCOMPARE(text1->text(), pasted);

    const auto *banner = m_fixture->control<QLabel>("Label5");
    QCOMPARE(banner->text().size(), 59);
    QCOMPARE(banner->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(banner->palette().color(QPalette::Window), QColor(192, 255, 255));
    QCOMPARE(m_fixture->control("Label8")->toolTip(), QStringLiteral(TALLYVEX_HOME_PAGE_HOST));
    const QCursor hand = m_fixture->control("Label8")->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.bitmap().size(), QSize(32, 32));
    QCOMPARE(hand.hotSpot(), QPoint(5, 0)); // the tip of the raised finger
    QCOMPARE(m_fixture->control("Label6")->cursor().shape(), Qt::ArrowCursor);
}

void TestForm1Layout::coloursFollowThePalette()
{
    m_fixture->type("Text1", QStringLiteral("12"));
    m_fixture->type("Text2", QStringLiteral("5"));
    m_fixture->click("Command1"); // the answer, 17, greyed in the output box
    QTest::keyClick(m_fixture->text("Text1"), Qt::Key_End); // nothing selected

    const QPalette light = QApplication::palette();
    // Fusion draws every ground in the palette's colours; Windows' visual styles paint some,
    // such as a disabled box's, themselves, whatever palette a program sets.
    const QString style = QApplication::style()->name();
    QApplication::setStyle(QStringLiteral("Fusion"));
    const auto restore = qScopeGuard([&] {
        QApplication::setPalette(light);
        QApplication::setStyle(style);
    });
    for (const auto &[name, palette] :
         { std::pair("light", light), std::pair("dark", darkPalette()),
           std::pair("light again", light) }) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents(); // the change reaches the window through its queue
        const QStringList texts = QStringList(LabelColour.keys()) << "Text1"
                                                                  << "Text3";
        for (const QString &text : texts) {
            const DrawnText drawn = drawnText(m_fixture->control(text.toLatin1().constData()));
            const double floor = text.startsWith(u"Text") ? 4.5 : 3;
            const QString what =
                    QStringLiteral("%1 palette, %2: %3 on %4 at %5:1")
                            .arg(QLatin1String(name), text, drawn.glyph.name(), drawn.ground.name())
                            .arg(drawn.contrast, 0, 'f', 2);
            QVERIFY2(drawn.contrast >= floor, qPrintable(what));
            if (palette != light || !LabelColour.contains(text))
                continue;
            QVERIFY2(drawn.colours.contains(LabelColour[text].rgb()), qPrintable(what));
        }
    }
}

void TestForm1Layout::menus()
{
    const QList<QAction *> items = m_fixture->form.menuBar()->actions();
    QCOMPARE(items.size(), 3);
    const QStringList names{ QStringLiteral("Help"), QStringLiteral("About"),
                             QStringLiteral("Exit") };
    const QStringList captions{ QStringLiteral("&Help"), QStringLiteral("A&bout"),
                                QStringLiteral("E&xit") };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(items[i]->objectName(), names[i]);
        QCOMPARE(items[i]->text(), captions[i]);
        QVERIFY(!items[i]->menu());
        QVERIFY(items[i]->isEnabled());
        QVERIFY(!items[i]->isChecked());
    }
}

void TestForm1Layout::pictureBoxesAndTimer()
{
    QList<QFrame *> boxes = m_fixture->form.findChildren<QFrame *>(QStringLiteral("Picture1"));
    QCOMPARE(boxes.size(), 2);
    std::sort(boxes.begin(), boxes.end(), [](QFrame *a, QFrame *b) {
        return a->property("Index").toInt() < b->property("Index").toInt();
    });
    QCOMPARE(boxes[0]->geometry(), QRect(568, 8, 65, 57));
    QCOMPARE(boxes[1]->geometry(), QRect(88, 8, 65, 57));
    // Both show the first frame of the picture unscaled from their inner top-left corner, cut
    // off at the inner edges of a two-pixel sunken border.
    const QImage firstFrame = QImageReader(QStringLiteral(":/picture1.gif")).read();
    QCOMPARE(firstFrame.size(), QSize(113, 112));
    const QImage shown = firstFrame.copy(0, 0, 61, 53).convertToFormat(QImage::Format_RGB32);
    for (QFrame *box : boxes) {
        QCOMPARE(box->contentsRect(), QRect(2, 2, 61, 53));
        // On a scaled screen the picture is enlarged with the rest of the window.
        if (box->devicePixelRatio() == 1.0) {
            QCOMPARE(box->grab(box->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32),
                     shown);
        }
    }
    const QList<QSize> iconSizes = m_fixture->form.windowIcon().availableSizes();
    QVERIFY(iconSizes.contains(QSize(16, 16)));
    QVERIFY(iconSizes.contains(QSize(32, 32)));

    const auto *timer = m_fixture->form.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 50);
    QVERIFY(timer->isActive());
}

void TestForm1Layout::startsWithFocusInOperandA()
{
    QCOMPARE(QApplication::focusWidget(), m_fixture->control("Text1"));
}

namespace {
// Where each Tab press from Text1 puts the focus; picture boxes are named with their index.
const char *const FocusOrder[] = { "Text2",       "Command1",  "Command2", "Command3",
                                   "Command4",    "Command10", "Command7", "Command8",
                                   "Command9",    "Command5",  "Command6", "Picture1(0)",
                                   "Picture1(1)", "Text1" };

QString describeFocus()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return QStringLiteral("nothing");
    if (focus->objectName() == QLatin1String("Picture1"))
        return QStringLiteral("Picture1(%1)").arg(focus->property("Index").toInt());
    return focus->objectName();
}
} // namespace

void TestForm1Layout::tabVisitsTheFocusOrderAndComesBack()
{
    for (const char *expected : FocusOrder) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(describeFocus(), QLatin1String(expected));
    }
}

void TestForm1Layout::shiftTabGoesTheOtherWay()
{
    // Backwards from Text1: the same stops in reverse order, ending at Text1 again.
    for (int step = int(std::size(FocusOrder)) - 2; step >= -1; --step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(describeFocus(), QLatin1String(step < 0 ? "Text1" : FocusOrder[step]));
    }
}

void TestForm1Layout::outputCannotBeReached()
{
    QWidget *output = m_fixture->control("Text3");
    QTest::mouseClick(output, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), m_fixture->control("Text1"));
    for (int press = 0; press < 14; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!output->hasFocus());
    }
}

void TestForm1Layout::everyFocusStopHasAnAccessibleName()
{
    // What a screen reader says on Tab: the name the accessibility layer gives each stop.
    for (std::size_t stop = 0; stop < std::size(FocusOrder); ++stop) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QAccessibleInterface *focused =
                QAccessible::queryAccessibleInterface(QApplication::focusWidget());
        QVERIFY(focused);
        QVERIFY2(!focused->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(describeFocus()));
    }
}

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
