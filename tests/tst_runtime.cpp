#include "runtime/desktopservices.h"
#include "runtime/errorpresentation.h"
#include "runtime/errortrap.h"
#include "runtime/platformchoice.h"
#include "runtime/sendkeys.h"
#include "support/recordingservices.h"
#include "support/runtimeerrorcheck.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using runtime::ErrorNumber;
using runtime::KeyStroke;
using runtime::RuntimeError;

Q_DECLARE_METATYPE(QList<KeyStroke>)

class TestRuntime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyText_data();
    void keyText();
    void invalidKeyText_data();
    void invalidKeyText();
    void queuedKeysWaitForTheHandlerToReturn();
    void queuedKeysGoToTheFocusAtDelivery();
    void untrappedErrorIsPresentedAndStopsTheHandler_data();
    void untrappedErrorIsPresentedAndStopsTheHandler();
    void trapReportsTheCaughtNumber();
    void boxBelongsToTheWindowWhileNoneIsActive();
    void shellStartsAProgramWithoutAShell();
    void shellRaisesFileNotFound_data();
    void shellRaisesFileNotFound();
    void platformComesBeforeTheUsersArguments_data();
    void platformComesBeforeTheUsersArguments();
};

void TestRuntime::keyText_data()
{
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<QList<KeyStroke>>("expected");

    const QList<KeyStroke> homeShiftEnd{ { Qt::Key_Home, {}, {} },
                                         { Qt::Key_End, Qt::ShiftModifier, {} } };
    QTest::newRow("{home}+{end}") << "{home}+{end}" << homeShiftEnd;
    QTest::newRow("{HOME}+{END}") << "{HOME}+{END}" << homeShiftEnd;
    QTest::newRow("{Home}+{End}") << "{Home}+{End}" << homeShiftEnd;
    QTest::newRow("plain characters")
            << "a1" << QList<KeyStroke>{ { Qt::Key_A, {}, "a" }, { Qt::Key_1, {}, "1" } };
    QTest::newRow("^c holds Ctrl for one key")
            << "^cv"
            << QList<KeyStroke>{ { Qt::Key_C, Qt::ControlModifier, "c" }, { Qt::Key_V, {}, "v" } };
    QTest::newRow("{+} types a plus") << "{+}" << QList<KeyStroke>{ { Qt::Key_Plus, {}, "+" } };
    QTest::newRow("{}} types a brace")
            << "{}}" << QList<KeyStroke>{ { Qt::Key_BraceRight, {}, "}" } };
    QTest::newRow("empty") << "" << QList<KeyStroke>{};
}

void TestRuntime::keyText()
{
    QFETCH(QString, keyText);
    QFETCH(QList<KeyStroke>, expected);
    QCOMPARE(runtime::parseKeyText(keyText), expected);
}

void TestRuntime::invalidKeyText_data()
{
    QTest::addColumn<QString>("keyText");
    QTest::newRow("unknown name") << "{nokey}";
    QTest::newRow("unclosed brace") << "{home";
    QTest::newRow("empty braces") << "{}";
    QTest::newRow("modifier with no key") << "+";
    QTest::newRow("stray closing brace") << "}";
}

void TestRuntime::invalidKeyText()
{
    QFETCH(QString, keyText);
    QCOMPARE(raisedErrorNumber([&] { runtime::rtcSendKeys(keyText); }), 5);
}

void TestRuntime::queuedKeysWaitForTheHandlerToReturn()
{
    QLineEdit box(QStringLiteral("hello"));
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.setFocus();
    box.end(false);

    runtime::rtcSendKeys(QStringLiteral("{home}+{end}"));
    QCOMPARE(box.selectedText(), QString()); // nothing has been typed yet

    QCoreApplication::processEvents();
    QCOMPARE(box.selectedText(), QStringLiteral("hello"));
    QCOMPARE(box.cursorPosition(), 5);
}

void TestRuntime::queuedKeysGoToTheFocusAtDelivery()
{
    QWidget window;
    auto *first = new QLineEdit(QStringLiteral("first"), &window);
    auto *second = new QLineEdit(QStringLiteral("second"), &window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    first->end(false);
    second->end(false);

    runtime::rtcSendKeys(QStringLiteral("{home}+{end}"));
    second->setFocus();
    QCoreApplication::processEvents();

    QCOMPARE(second->selectedText(), QStringLiteral("second"));
    QCOMPARE(first->selectedText(), QString());
}

void TestRuntime::untrappedErrorIsPresentedAndStopsTheHandler_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("prompt");

    QTest::newRow("6") << 6 << "Run-time error '6':\r\n\r\nOverflow";
    QTest::newRow("13") << 13 << "Run-time error '13':\r\n\r\nType mismatch";
    QTest::newRow("53") << 53 << "Run-time error '53':\r\n\r\nFile not found";
    QTest::newRow("5") << 5 << "Run-time error '5':\r\n\r\nInvalid procedure call or argument";
}

void TestRuntime::untrappedErrorIsPresentedAndStopsTheHandler()
{
    QFETCH(int, number);
    QFETCH(QString, prompt);
    RecordingServices services;
    QStringList steps;

    runtime::invokeHandler(services, [&] {
        steps << QStringLiteral("before");
        throw RuntimeError(static_cast<ErrorNumber>(number));
        steps << QStringLiteral("after");
    });

    QCOMPARE(steps, QStringList{ QStringLiteral("before") });
    QCOMPARE(services.boxes.size(), 1);
    QCOMPARE(services.boxes[0].prompt, prompt);
    QCOMPARE(services.boxes[0].style, runtime::MsgBoxStyle::Critical);
    QCOMPARE(services.boxes[0].title, QStringLiteral("Error !"));

    // A handler that raises nothing shows nothing.
    runtime::invokeHandler(services, [&] { steps << QStringLiteral("quiet"); });
    QCOMPARE(services.boxes.size(), 1);
}

void TestRuntime::trapReportsTheCaughtNumber()
{
    bool finished = false;
    QCOMPARE(runtime::trapErrors([&] { finished = true; }), 0);
    QVERIFY(finished);

    finished = false;
    QCOMPARE(runtime::trapErrors([&] {
                 throw RuntimeError(ErrorNumber::Overflow);
                 finished = true;
             }),
             6);
    QVERIFY(!finished);
    QCOMPARE(runtime::trapErrors([] { throw RuntimeError(ErrorNumber::DivisionByZero); }), 11);
}

void TestRuntime::boxBelongsToTheWindowWhileNoneIsActive()
{
    // On Wayland the window is active again only once the compositor says so: a box opened
    // before that must still be the window's, or the desktop places it apart from it.
    QWidget window;
    window.show(); // activated once the event loop has run
    QVERIFY(!QApplication::activeWindow());
    QWidget *owner = nullptr;
    QTimer::singleShot(0, [&owner] {
        QWidget *box = QApplication::activeModalWidget();
        owner = box ? box->parentWidget() : nullptr;
        if (box)
            box->close();
    });
    runtime::DesktopServices().rtcMsgBox(QStringLiteral("Prompt"), runtime::MsgBoxStyle::Critical,
                                         QStringLiteral("Title"));
    QCOMPARE(owner, &window);
}

void TestRuntime::shellStartsAProgramWithoutAShell()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString record = dir.filePath(QStringLiteral("arguments.txt"));
    // A shell would expand "$(echo)", "%PATH%" and the backquotes and run what follows ";" or
    // "&"; started directly, the program gets every word as it was written.
    const QStringList words = { QStringLiteral("a$(echo)b"), QStringLiteral(";touch"),
                                QStringLiteral("&echo"),     QStringLiteral("%PATH%"),
                                QStringLiteral("`id`"),      QStringLiteral("two words") };
    // Beside this test, in the system's own form: Wine 10's shell, unlike Wine 8's, finds no
    // program by the Linux path the cross build knows.
    const QString recorder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u'/'
                                                      + QStringLiteral(ARGUMENT_RECORDER_NAME));
    runtime::DesktopServices services;
    const double processId = services.rtcShell(
            QStringLiteral("\"%1\" \"%2\" a$(echo)b ;touch &echo %PATH% `id` \"two words\"")
                    .arg(recorder, record),
            runtime::ShellWindowStyle::Hide);

    QVERIFY(processId > 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts), words);
}

void TestRuntime::shellRaisesFileNotFound_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("no such program") << "/nonexistent/opener http://example.com/";
    QTest::newRow("empty command line") << "";
}

void TestRuntime::shellRaisesFileNotFound()
{
    QFETCH(QString, commandLine);
    runtime::DesktopServices services;
    QCOMPARE(raisedErrorNumber(
                     [&] { services.rtcShell(commandLine, runtime::ShellWindowStyle::Hide); }),
             53);
}

void TestRuntime::platformComesBeforeTheUsersArguments_data()
{
    QTest::addColumn<QByteArrayList>("given");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArrayList>("passed");
    QTest::newRow("none chosen") << QByteArrayList{ "tallyvex", "-style" } << QByteArray()
                                 << QByteArrayList{ "tallyvex", "-style" };
    // An option that takes a value, last on the line, must not take the platform as its value.
    QTest::newRow("after the name")
            << QByteArrayList{ "tallyvex", "-reverse", "-style" } << QByteArray("xcb;wayland")
            << QByteArrayList{ "tallyvex", "-platform", "xcb;wayland", "-reverse", "-style" };
}

void TestRuntime::platformComesBeforeTheUsersArguments()
{
    QFETCH(QByteArrayList, given);
    QFETCH(QByteArray, platform);
    QFETCH(QByteArrayList, passed);
    QCOMPARE(runtime::applicationArguments(given, platform), passed);
}

QTEST_MAIN(TestRuntime)
#include "tst_runtime.moc"
