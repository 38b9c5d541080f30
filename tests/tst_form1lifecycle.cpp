#include "support/formfixture.h"

#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

#include <cmath>

#include <memory>

namespace {

const QString ContactBare = QStringLiteral(
        "Send Your Comments And Suggestions\r\n\r\n    " TALLYVEX_CONTACT_EMAIL "\r\n\r\n"
        "  http://" TALLYVEX_HOME_PAGE_HOST);

} // namespace

class TestForm1Lifecycle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondCopyIsRefusedBeforeItsWindowShows();
    void firstCopyIsCentred();
    void waysOut_data();
    void waysOut();
    void informationBoxes_data();
    void informationBoxes();
    void homePageLinkStartsTheOpenerEachClick();
    void homePageOpenerMissingIsAnUntrappedError();
    void bannerMovesByWholeSteps();
};

void TestForm1Lifecycle::secondCopyIsRefusedBeforeItsWindowShows()
{
    RecordingServices services;
    services.prevInstance = true;
    Form1 form(services);
    QSignalSpy unloaded(&form, &Form1::unloaded);
    // Unloading stops the banner's timer: it has stopped before the box shows.
    bool unloadedBeforeTheBox = false;
    services.whileBoxShown = [&] {
        unloadedBeforeTheBox = !form.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive();
    };

    QVERIFY(!form.load());

    QCOMPARE(services.boxes.size(), 1); // no contact message
    QCOMPARE(services.boxes[0].prompt, QStringLiteral("Application is Already Running !"));
    QCOMPARE(services.boxes[0].style, runtime::MsgBoxStyle::Critical);
    QCOMPARE(services.boxes[0].title, QStringLiteral("Error !"));
    QCOMPARE(unloaded.size(), 1);
    QVERIFY(unloadedBeforeTheBox);
    QVERIFY(!form.windowHandle()); // never shown: no window was ever made for it
}

void TestForm1Lifecycle::firstCopyIsCentred()
{
    RecordingServices services;
    Form1 form(services);
    QVERIFY(form.load());
    QVERIFY(services.boxes.isEmpty());

    const QRect screen = form.screen()->geometry();
    const QRect window = form.frameGeometry();
    QVERIFY(window.width() > 600); // the layout has been applied before centring
    QCOMPARE(window.left() - screen.left(), (screen.width() - window.width()) / 2);
    QCOMPARE(window.top() - screen.top(), (screen.height() - window.height()) / 2);
}

void TestForm1Lifecycle::waysOut_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("shownDuringBox");

    // clang-format off
    QTest::newRow("close box") << "close" << "CONTACT !" << ContactBare << true;
    QTest::newRow("session end") << "session" << "CONTACT !" << ContactBare << true;
    QTest::newRow("Exit menu") << "menu" << "Contact !" << ContactBare + u'/' << false;
    QTest::newRow("Alt+X: the Exit menu alone") << "alt+x" << "Contact !" << ContactBare + u'/' << false;
    QTest::newRow("Exit button") << "button" << "Contact !" << ContactBare << false;
    // clang-format on
}

void TestForm1Lifecycle::waysOut()
{
    QFETCH(QString, way);
    QFETCH(QString, title);
    QFETCH(QString, prompt);
    QFETCH(bool, shownDuringBox);
    FormFixture fixture;
    QSignalSpy unloaded(&fixture.form, &Form1::unloaded);
    bool shown = !shownDuringBox;
    fixture.services.whileBoxShown = [&] {
        shown = fixture.form.isVisible();
        QCOMPARE(unloaded.size(), 0); // the program ends only after the box is closed
    };

    if (way == u"close")
        fixture.form.close();
    else if (way == u"session")
        fixture.form.endSession();
    else if (way == u"menu")
        fixture.control<QAction>("Exit")->trigger();
    else if (way == u"alt+x")
        QTest::keyClick(fixture.text("Text1"), Qt::Key_X, Qt::AltModifier);
    else
        fixture.click("Command6");
    QTRY_COMPARE(unloaded.size(), 1);

    QCOMPARE(fixture.services.boxes.size(), 1);
    QCOMPARE(fixture.services.boxes[0].title, title);
    QCOMPARE(fixture.services.boxes[0].prompt, prompt);
    QCOMPARE(fixture.services.boxes[0].style, runtime::MsgBoxStyle::Information);
    QCOMPARE(shown, shownDuringBox);
    QVERIFY(!fixture.form.isVisible());
    QVERIFY(!fixture.control<QTimer>("Timer1")->isActive());

    // Nothing after the first way out shows a second message.
    fixture.form.close();
    fixture.form.endSession();
    QCOMPARE(fixture.services.boxes.size(), 1);
    QCOMPARE(unloaded.size(), 1);
}

void TestForm1Lifecycle::informationBoxes_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<Qt::Key>("accessKey");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    // As on a real desktop: the box takes the window's activation, and the focus comes back
    // only after the handler has returned.
    QTest::addColumn<bool>("boxTakesTheWindow");
    QTest::addColumn<bool>("focusInA");

    const QStringList help{ "ADD = Adds the two numbers of 'A' and 'B'",
                            "",
                            "SUBTRACT = Subtracts the two numbers 'A' and 'B'",
                            "",
                            "MULTIPLY = Multiplies the two numbers 'A' and 'B'",
                            "",
                            "DIVIDE = Divides the two numbers 'A' and 'B' ",
                            "",
                            "GREATEST = Shows the Greatest of two numbers 'A' and 'B'",
                            "",
                            "LEAST = Shows the Least of two numbers 'A' and 'B'",
                            "",
                            "POW = Squares A ^ B ",
                            "",
                            "MOD = Shows the Remainder of 'A' and 'B'",
                            "",
                            "CLEAR = Clears the Input and Output Box",
                            "",
                            "EXIT = Closes the Program",
                            "",
                            "Note : This Software Should be viewed in Screen Area",
                            "800 by 600 Pixels. Change your screen revolution in",
                            "Control Panel ---> Display Properties-->Settings" };
    const QStringList about{ "THIS SOFTWARE IS DEVELOPED BY VELKAR , INDIA .", "",
                             "FOR UR COMMENTS AND SUGGESTIONS", "",
                             "CONTACT : " TALLYVEX_CONTACT_EMAIL };
    // clang-format off
    QTest::newRow("Help by the menu") << "Help" << Qt::Key_unknown << "HELP !" << help << false << false;
    QTest::newRow("Help by Alt+H") << "Help" << Qt::Key_H << "HELP !" << help << false << false;
    QTest::newRow("About by the menu") << "About" << Qt::Key_unknown << "ABOUT !" << about << false << false;
    QTest::newRow("About by Alt+B") << "About" << Qt::Key_B << "ABOUT !" << about << false << false;
    QTest::newRow("Help, box active") << "Help" << Qt::Key_H << "HELP !" << help << true << false;
    QTest::newRow("About, box active, from A") << "About" << Qt::Key_B << "ABOUT !" << about << true << true;
    // clang-format on
}

void TestForm1Lifecycle::informationBoxes()
{
    QFETCH(QString, item);
    QFETCH(Qt::Key, accessKey);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    QFETCH(bool, boxTakesTheWindow);
    QFETCH(bool, focusInA);
    FormFixture fixture;
    fixture.type("Text1", QStringLiteral("42"));
    if (focusInA)
        QTest::keyClick(fixture.text("Text1"), Qt::Key_End); // A keeps the focus, unselected
    else
        fixture.click("Command3"); // the focus is on a button, away from A
    QWidget box;
    if (boxTakesTheWindow) {
        fixture.services.whileBoxShown = [&] {
            box.show();
            box.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&box));
        };
    }

    if (accessKey == Qt::Key_unknown)
        fixture.control<QAction>(item.toLatin1().constData())->trigger();
    else
        QTest::keyClick(&fixture.form, accessKey, Qt::AltModifier);
    QTRY_COMPARE(fixture.services.boxes.size(), 1);
    FormFixture::processQueuedKeys();
    if (boxTakesTheWindow) {
        box.close();
        fixture.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.form));
        FormFixture::processQueuedKeys();
    }

    QCOMPARE(fixture.services.boxes[0].prompt.split(QStringLiteral("\r\n")), lines);
    QCOMPARE(fixture.services.boxes[0].title, title);
    QCOMPARE(fixture.services.boxes[0].style, runtime::MsgBoxStyle::Information);
    QVERIFY(fixture.text("Text1")->hasFocus());
    QCOMPARE(fixture.text("Text1")->selectedText(), QStringLiteral("42"));
}

void TestForm1Lifecycle::homePageLinkStartsTheOpenerEachClick()
{
    FormFixture fixture;
    QLabel *link = fixture.control<QLabel>("Label8");
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    // The right button does not click it.
    QTest::mouseClick(link, Qt::RightButton);

    const QString opener = QStringLiteral(EXPECTED_HOME_PAGE_COMMAND);
    QCOMPARE(fixture.services.commandLines, QStringList({ opener, opener }));
    QVERIFY(fixture.services.boxes.isEmpty());
}

void TestForm1Lifecycle::homePageOpenerMissingIsAnUntrappedError()
{
    FormFixture fixture;
    fixture.type("Text1", QStringLiteral("7"));
    fixture.services.shellFails = true;

    QTest::mouseClick(fixture.control<QLabel>("Label8"), Qt::LeftButton);

    QCOMPARE(fixture.services.boxes.size(), 1);
    QCOMPARE(fixture.services.boxes[0].prompt,
             QStringLiteral("Run-time error '53':\r\n\r\nFile not found"));
    QCOMPARE(fixture.services.boxes[0].title, QStringLiteral("Error !"));
    QCOMPARE(fixture.text("Text1")->text(), QStringLiteral("7"));
    QVERIFY(fixture.form.isVisible());
}

void TestForm1Lifecycle::bannerMovesByWholeSteps()
{
    FormFixture fixture;
    QLabel *banner = fixture.control<QLabel>("Label5");
    QCOMPARE(banner->x(), 648);

    QTRY_VERIFY(banner->x() < 640); // at least two ticks
    const float left = banner->property("Left").toFloat();
    QCOMPARE(std::fmod(9720.0f - left, 60.0f), 0.0f);
    QCOMPARE(banner->x() * 15.0f, left);
    QCOMPARE(banner->y(), 440); // only the left edge moves
}

QTEST_MAIN(TestForm1Lifecycle)
#include "tst_form1lifecycle.moc"
