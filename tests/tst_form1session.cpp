// A long random session on the real window: typing, Backspace, Tab, clicks, access keys, pastes,
// Help and About, thousands of steps from a seed. After every step the window must hold only
// what a person put in, show only the program's messages or number texts, and have presented
// every error that an operation raised. Replay a failing run with
// TALLYVEX_SESSION_SEED=<seed> (and TALLYVEX_SESSION_STEPS=<steps>).
#include "ops/conversions.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "support/formfixture.h"

#include <QAction>
#include <QRandomGenerator>
#include <QTest>

#include <functional>

namespace {

using Arithmetic = ops::Arithmetic;

// The nine buttons a session may press; Exit would end it.
struct Button
{
    const char *name;
    char accessKey;
    bool emptiesTheOperands;
    bool mayChangeLastResult;
    // The untrapped error number the press must present for the operands A and B, or 0.
    std::function<int(const QString &a, const QString &b, QChar separator)> untrappedError;
};

int raisedBy(const std::function<void()> &step)
{
    try {
        step();
        return 0;
    } catch (const runtime::RuntimeError &error) {
        return error.number();
    }
}

// Empty operands only bring a message; otherwise each operation reads its operands (and, for
// the four arithmetic ones, shows a result) outside any trap, except POW and MOD, which trap
// everything after their strict readings.
auto arithmeticError(Arithmetic operation)
{
    return [operation](const QString &a, const QString &b, QChar separator) {
        if (a.isEmpty() || b.isEmpty())
            return 0;
        return raisedBy([&] {
            if (operation == Arithmetic::Divide && ops::isZeroDivisor(b))
                return;
            ops::vbaStrR8(
                    ops::arithmetic(operation, ops::rtcR8ValFromBstr(a), ops::rtcR8ValFromBstr(b)),
                    separator);
        });
    };
}

int comparisonError(const QString &a, const QString &b, QChar)
{
    if (a.isEmpty() || b.isEmpty())
        return 0;
    return raisedBy([&] {
        ops::rtcR8ValFromBstr(a);
        ops::rtcR8ValFromBstr(b);
    });
}

int strictReadingError(const QString &a, const QString &b, QChar)
{
    if (a.isEmpty() || b.isEmpty())
        return 0;
    return raisedBy([&] {
        ops::vbaR8Str(a);
        ops::vbaR8Str(b);
    });
}

int noError(const QString &, const QString &, QChar)
{
    return 0;
}

// ADD and MOD alone may change LastResult; CLEAR alone empties the operand boxes.
const Button Buttons[] = {
    { "Command1", 'A', false, true, arithmeticError(Arithmetic::Add) },
    { "Command2", 'S', false, false, arithmeticError(Arithmetic::Subtract) },
    { "Command3", 'M', false, false, arithmeticError(Arithmetic::Multiply) },
    { "Command4", 'D', false, false, arithmeticError(Arithmetic::Divide) },
    { "Command5", 'C', true, false, noError },
    { "Command7", 'G', false, false, comparisonError },
    { "Command8", 'L', false, false, comparisonError },
    { "Command9", 'P', false, false, strictReadingError },
    { "Command10", 'O', false, true, strictReadingError },
};

// What a typed character or Backspace leaves in a line edit: the selection, or the character
// before the cursor, gives way.
QString edited(const QLineEdit *box, const QString &typed)
{
    QString text = box->text();
    if (box->hasSelectedText())
        return text.replace(box->selectionStart(), box->selectedText().size(), typed);
    if (!typed.isEmpty())
        return text.insert(box->cursorPosition(), typed);
    if (box->cursorPosition() > 0)
        text.remove(box->cursorPosition() - 1, 1);
    return text;
}

bool isProgramText(const QString &output, QChar separator)
{
    for (const QLatin1StringView message :
         { ops::message::EnterTheValues, ops::message::InvalidOperation, ops::message::Infinity,
           ops::message::Overflow, ops::message::TheyAreEqual }) {
        if (output == message)
            return true;
    }
    if (output.isEmpty())
        return true;
    try {
        // A number the program wrote is a number text as the program writes them.
        const double shown = ops::vbaR8Str(QString(output).replace(separator, u'.'));
        return ops::vbaStrR8(shown, separator) == output;
    } catch (const runtime::RuntimeError &) {
        return false;
    }
}

} // namespace

class TestForm1Session : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomSession_data();
    void randomSession();

private:
    // A text as a paste might bring it: mostly short, sometimes very long; number-like or not.
    static QString pastedText(QRandomGenerator &random);
};

void TestForm1Session::randomSession_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("steps");
    const int steps = qEnvironmentVariableIntValue("TALLYVEX_SESSION_STEPS");
    bool replay = false;
    const quint64 replaySeed = qEnvironmentVariable("TALLYVEX_SESSION_SEED").toULongLong(&replay);
    if (replay) {
        QTest::newRow("replay") << replaySeed << (steps > 0 ? steps : 3000);
        return;
    }
    for (const quint64 seed : { 20261207u, 1u, 7777u })
        QTest::addRow("seed %llu", seed) << seed << (steps > 0 ? steps : 3000);
}

QString TestForm1Session::pastedText(QRandomGenerator &random)
{
    static const QString numberLike = QStringLiteral("0123456789.-+eE ");
    static const QString anything = QStringLiteral("0123456789.,-+eE dxAZ!%$#&()'\"\\");
    const QString &alphabet = random.bounded(2) ? numberLike : anything;
    const int length = random.bounded(50) == 0 ? random.bounded(100'001) : random.bounded(24);
    QString text(length, Qt::Uninitialized);
    for (QChar &c : text)
        c = alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

void TestForm1Session::randomSession()
{
    QFETCH(quint64, seed);
    QFETCH(int, steps);
    QRandomGenerator random(seed);
    FormFixture fixture;
    Form1 &form = fixture.form;
    QLineEdit *const operands[] = { fixture.text("Text1"), fixture.text("Text2") };
    QLineEdit *const output = fixture.text("Text3");
    const QChar separator = ops::systemDecimalSeparator();
    static const QString typedCharacters = QStringLiteral("0123456789..,-+eEaZ/* ");

    for (int step = 1; step <= steps; ++step) {
        const QString before[] = { operands[0]->text(), operands[1]->text() };
        QString expected[] = { before[0], before[1] };
        const QString lastResultBefore = form.lastResult();
        const qsizetype boxesBefore = fixture.services.boxes.size();
        const Button *pressed = nullptr;
        int expectedBoxes = 0;
        int expectedError = 0;
        QString action;

        QWidget *focus = QApplication::focusWidget();
        auto *focusedOperand = qobject_cast<QLineEdit *>(focus);
        const int operandIndex = focusedOperand == operands[0] ? 0
                : focusedOperand == operands[1]                ? 1
                                                               : -1;

        switch (random.bounded(10)) {
        case 0:
        case 1:
        case 2: { // a character typed, taken or refused
            QChar typed = typedCharacters[random.bounded(int(typedCharacters.size()))];
            if (operandIndex < 0 && typed == u' ')
                typed = u'x'; // a space would press the button that has the focus
            action = QStringLiteral("type '%1'").arg(typed);
            if (operandIndex >= 0 && (typed.isDigit() || typed == u'.'))
                expected[operandIndex] = edited(focusedOperand, typed);
            QTest::keyClick(focus ? focus : &form, typed.toLatin1());
            break;
        }
        case 3:
            action = QStringLiteral("Backspace");
            if (operandIndex >= 0)
                expected[operandIndex] = edited(focusedOperand, QString());
            QTest::keyClick(focus ? focus : &form, Qt::Key_Backspace);
            break;
        case 4: {
            const bool backwards = random.bounded(2);
            action = backwards ? QStringLiteral("Shift+Tab") : QStringLiteral("Tab");
            QTest::keyClick(focus ? focus : &form, backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                            backwards ? Qt::ShiftModifier : Qt::NoModifier);
            break;
        }
        case 5:
        case 6: { // a button pressed with the mouse or its access key
            pressed = &Buttons[random.bounded(int(std::size(Buttons)))];
            // An access key clicks after a short animation, so it is the rarer way here.
            const bool accessKey = random.bounded(16) == 0;
            action = QStringLiteral("%1 %2").arg(
                    accessKey ? "Alt+" + QString(QChar(pressed->accessKey))
                              : QStringLiteral("click"),
                    pressed->name);
            if (pressed->emptiesTheOperands)
                expected[0] = expected[1] = QString();
            expectedError = pressed->untrappedError(before[0], before[1], separator);
            expectedBoxes = expectedError != 0 ? 1 : 0;
            QPushButton *button = fixture.button(pressed->name);
            if (accessKey) {
                // A keyboard gives the letter in lower case when Shift is not held.
                QTest::keyClick(focus ? focus : &form, char(QChar::toLower(pressed->accessKey)),
                                Qt::AltModifier);
                for (int waited = 0; button->isDown() && waited < 5000; waited += 5)
                    QTest::qWait(5);
                QVERIFY(!button->isDown());
            } else {
                QTest::mouseClick(button, Qt::LeftButton);
            }
            break;
        }
        case 7: { // a paste over the whole text of one operand box
            const int index = random.bounded(2);
            expected[index] = pastedText(random);
            action = QStringLiteral("paste %1 characters into %2")
                             .arg(expected[index].size())
                             .arg(operands[index]->objectName());
            fixture.paste(index == 0 ? "Text1" : "Text2", expected[index]);
            break;
        }
        case 8: {
            const char *item = random.bounded(2) ? "Help" : "About";
            action = QString::fromLatin1(item);
            expectedBoxes = 1;
            form.findChild<QAction *>(QLatin1String(item))->trigger();
            break;
        }
        case 9: {
            QLineEdit *box = operands[random.bounded(2)];
            action = QStringLiteral("click into ") + box->objectName();
            QTest::mouseClick(box, Qt::LeftButton, {},
                              QPoint(random.bounded(box->width()), box->height() / 2));
            break;
        }
        }
        FormFixture::processQueuedKeys();

        const QString where =
                QStringLiteral("seed %1, step %2 (%3): ").arg(seed).arg(step).arg(action);
        auto failure = [&where](const char *what) {
            return qPrintable(where + QLatin1String(what));
        };
        QVERIFY2(operands[0]->text() == expected[0] && operands[1]->text() == expected[1],
                 failure("an operand box holds something that was not typed or pasted"));
        QVERIFY2(isProgramText(output->text(), separator),
                 failure("the output holds neither a message nor a number text"));
        if (form.lastResult() != lastResultBefore) {
            QVERIFY2(pressed && pressed->mayChangeLastResult,
                     failure("LastResult changed outside ADD and MOD"));
            QVERIFY2(output->text() == form.lastResult(),
                     failure("LastResult is not what is shown"));
        }
        const auto shown = fixture.services.boxes.mid(boxesBefore);
        QVERIFY2(shown.size() == expectedBoxes, failure("a box too many, or an error swallowed"));
        if (expectedError != 0) {
            QVERIFY2(shown.front().title == u"Error !"
                             && shown.front().prompt.startsWith(
                                     QStringLiteral("Run-time error '%1':").arg(expectedError)),
                     failure("the error shown is not the error raised"));
        }
    }
}

QTEST_MAIN(TestForm1Session)
#include "tst_form1session.moc"
