#include "support/formfixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWindow>

#include <memory>

class TestForm1Input : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void keyFilter_data();
    void keyFilter();
    void enteringABoxSelectsItsText_data();
    void enteringABoxSelectsItsText();
    void editingEmptiesTheOutput_data();
    void editingEmptiesTheOutput();
    void clear_data();
    void clear();
    void postedAltOpensTheMenuBar();

private:
    std::unique_ptr<FormFixture> m_fixture;
};

void TestForm1Input::init()
{
    m_fixture = std::make_unique<FormFixture>();
}

void TestForm1Input::cleanup()
{
    m_fixture.reset();
}

void TestForm1Input::keyFilter_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("after"); // the box held "12", all of it selected

    const Qt::KeyboardModifiers none;
    for (const char *box : { "Text1", "Text2" }) {
        const QString name = QLatin1String(box);
        const auto row = [&](const char *what, Qt::Key key, Qt::KeyboardModifiers modifiers,
                             const char *after) {
            QTest::addRow("%s %s", box, what)
                    << name << key << modifiers << QString::fromLatin1(after);
        };
        // The twelve accepted characters.
        for (char digit = '0'; digit <= '9'; ++digit) {
            const char typed[] = { digit, '\0' };
            row(typed, Qt::Key(Qt::Key_0 + (digit - '0')), none, typed);
        }
        row(".", Qt::Key_Period, none, ".");
        // The keypad's decimal key types the point, also where the layout gives it ",".
        row("keypad .", Qt::Key_Period, Qt::KeypadModifier, ".");
        row("keypad ,", Qt::Key_Comma, Qt::KeypadModifier, ".");
        row("backspace", Qt::Key_Backspace, none, "");
        // The codes beside the accepted ones, and the characters of signs and exponents.
        row("/ (47)", Qt::Key_Slash, none, "12");
        row(": (58)", Qt::Key_Colon, none, "12");
        row("-", Qt::Key_Minus, none, "12");
        row("+", Qt::Key_Plus, none, "12");
        row(",", Qt::Key_Comma, none, "12");
        row("e", Qt::Key_E, none, "12");
        row("blank", Qt::Key_Space, none, "12");
        row("Enter", Qt::Key_Return, none, "12");
        row("Escape", Qt::Key_Escape, none, "12");
        // Ctrl with a letter types a control character, which is discarded like any other.
        row("Ctrl+X", Qt::Key_X, Qt::ControlModifier, "12");
        row("Ctrl+V", Qt::Key_V, Qt::ControlModifier, "12");
        row("Ctrl+C", Qt::Key_C, Qt::ControlModifier, "12");
        row("Alt+5", Qt::Key_5, Qt::AltModifier, "12");
        // Keys that are no character edit as usual; a paste is not filtered.
        row("Delete", Qt::Key_Delete, none, "");
        row("Left", Qt::Key_Left, none, "12");
        row("Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, "-9e9");
    }
}

void TestForm1Input::keyFilter()
{
    QFETCH(QString, box);
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, after);
    QGuiApplication::clipboard()->setText(QStringLiteral("-9e9"));
    QLineEdit *edit = m_fixture->text(box.toLatin1().constData());
    m_fixture->type(box.toLatin1().constData(), QStringLiteral("12"));
    edit->selectAll();

    QTest::keyClick(edit, key, modifiers);

    QCOMPARE(edit->text(), after);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("-9e9")); // nothing copied
    QVERIFY(edit->hasFocus());
}

void TestForm1Input::enteringABoxSelectsItsText_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Tab from A") << "tab";
    QTest::newRow("Shift+Tab from ADD") << "backtab";
    QTest::newRow("click at the start of the text") << "click";
    QTest::newRow("GREATEST shows B") << "greatest";
}

void TestForm1Input::enteringABoxSelectsItsText()
{
    QFETCH(QString, way);
    m_fixture->type("Text1", QStringLiteral("45"));
    m_fixture->paste("Text2", QStringLiteral("123.5"));
    QLineEdit *b = m_fixture->text("Text2");

    if (way == u"tab") {
        QTest::keyClick(m_fixture->text("Text1"), Qt::Key_Tab);
    } else if (way == u"backtab") {
        m_fixture->button("Command1")->setFocus();
        QTest::keyClick(m_fixture->button("Command1"), Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (way == u"click") {
        // The press puts the caret before the first character; the queued keys come after it.
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, b->height() / 2));
    } else {
        m_fixture->click("Command7");
    }
    FormFixture::processQueuedKeys();

    QVERIFY(b->hasFocus());
    QCOMPARE(b->selectedText(), QStringLiteral("123.5"));
    QTest::keyClick(b, Qt::Key_7);
    QCOMPARE(b->text(), QStringLiteral("7"));
}

void TestForm1Input::editingEmptiesTheOutput_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("emptied");

    QTest::newRow("digit in A") << "Text1" << Qt::Key_1 << true;
    QTest::newRow("digit in B") << "Text2" << Qt::Key_1 << true;
    QTest::newRow("backspace in A") << "Text1" << Qt::Key_Backspace << true;
    QTest::newRow("discarded key in B") << "Text2" << Qt::Key_Minus << false;
    QTest::newRow("caret move in A") << "Text1" << Qt::Key_Home << false;
}

void TestForm1Input::editingEmptiesTheOutput()
{
    QFETCH(QString, box);
    QFETCH(Qt::Key, key);
    QFETCH(bool, emptied);
    m_fixture->type("Text1", QStringLiteral("12"));
    m_fixture->type("Text2", QStringLiteral("5"));
    m_fixture->click("Command1");
    QLineEdit *edit = m_fixture->text(box.toLatin1().constData());
    edit->setFocus();
    edit->end(false);

    QTest::keyClick(edit, key);

    QCOMPARE(m_fixture->text("Text3")->text(), emptied ? QString() : QStringLiteral("17"));
}

void TestForm1Input::clear_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("byAccessKey");

    // clang-format off
    QTest::newRow("click, filled boxes") << "12" << "5" << false;
    QTest::newRow("Alt+C, filled boxes") << "12" << "5" << true;
    QTest::newRow("click, empty boxes") << "" << "" << false;
    // clang-format on
}

void TestForm1Input::clear()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, byAccessKey);
    m_fixture->paste("Text1", a);
    m_fixture->paste("Text2", b);
    m_fixture->click("Command1");
    const QString lastResult = m_fixture->form.lastResult();

    if (byAccessKey) {
        QTest::keyClick(m_fixture->text("Text2"), Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(m_fixture->text("Text1")->text(), QString());
    } else {
        m_fixture->click("Command5");
    }
    FormFixture::processQueuedKeys();

    for (const char *box : { "Text1", "Text2", "Text3" })
        QCOMPARE(m_fixture->text(box)->text(), QString());
    QVERIFY(m_fixture->text("Text1")->hasFocus());
    QCOMPARE(m_fixture->form.lastResult(), lastResult);
    QVERIFY(m_fixture->services.boxes.isEmpty());
}

void TestForm1Input::postedAltOpensTheMenuBar()
{
    // A lone Alt, posted to the window as a playback tool posts it, where no screen reader
    // listens: the menu bar takes the keyboard, as after a real one.
    QVERIFY(!QAccessible::isActive());
    QWindow *window = m_fixture->form.windowHandle();
    QCoreApplication::postEvent(window,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier));
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Alt, {}));
    QTRY_VERIFY(m_fixture->form.menuBar()->hasFocus());
}

QTEST_MAIN(TestForm1Input)
#include "tst_form1input.moc"
