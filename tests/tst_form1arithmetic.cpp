#include "support/formfixture.h"
#include "support/localizedtext.h"

#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {

const QString EnterTheValues = QStringLiteral("Enter The Values !");
const QString InvalidOperation = QStringLiteral("Invalid Operation !");

} // namespace

class TestForm1Arithmetic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void results_data();
    void results();
    void accessKeysClickTheButtons_data();
    void accessKeysClickTheButtons();
    void emptyOperands_data();
    void emptyOperands();
    void zeroDivisor_data();
    void zeroDivisor();
    void onlyAddAndModKeepTheirResult();
    void overflowKeepsEverythingAndIsShown_data();
    void overflowKeepsEverythingAndIsShown();

private:
    QLineEdit *text(const char *name) const { return m_fixture->text(name); }
    QPushButton *button(const char *name) const { return m_fixture->button(name); }
    void type(const char *box, const QString &keys) { m_fixture->type(box, keys); }
    void paste(const char *box, const QString &pasted) { m_fixture->paste(box, pasted); }
    void click(const char *name) { m_fixture->click(name); }

    std::unique_ptr<FormFixture> m_fixture;
};

void TestForm1Arithmetic::initTestCase()
{
    verifyTheLocaleAskedFor();
}

void TestForm1Arithmetic::init()
{
    m_fixture = std::make_unique<FormFixture>();
}

void TestForm1Arithmetic::cleanup()
{
    m_fixture.reset();
}

void TestForm1Arithmetic::results_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("ADD 12 5") << "Command1" << "12" << "5" << "17";
    QTest::newRow("SUBTRACT 12 5") << "Command2" << "12" << "5" << "7";
    QTest::newRow("MULTIPLY 12 5") << "Command3" << "12" << "5" << "60";
    QTest::newRow("DIVIDE 12 5") << "Command4" << "12" << "5" << "2.4";
    QTest::newRow("SUBTRACT 5 12 is A - B") << "Command2" << "5" << "12" << "-7";
    QTest::newRow("DIVIDE 12 24 is A / B") << "Command4" << "12" << "24" << "0.5";
    QTest::newRow("DIVIDE 1 3") << "Command4" << "1" << "3" << "0.333333333333333";
    QTest::newRow("ADD 0.1 0.2") << "Command1" << "0.1" << "0.2" << "0.3";
    QTest::newRow("ADD 1.2.3 1") << "Command1" << "1.2.3" << "1" << "2.2";
    QTest::newRow("ADD . 2") << "Command1" << "." << "2" << "2";
    QTest::newRow("DIVIDE . 2") << "Command4" << "." << "2" << "0";
    QTest::newRow("MULTIPLY large") << "Command3" << "99999999" << "99999999" << "9.9999998E+15";
    QTest::newRow("DIVIDE tiny") << "Command4" << "1" << "300000" << "3.33333333333333E-06";
    // clang-format on
}

void TestForm1Arithmetic::results()
{
    QFETCH(QString, command);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, shown);
    type("Text1", a);
    type("Text2", b);

    click(command.toLatin1().constData());

    QCOMPARE(text("Text3")->text(), localized(shown));
    QVERIFY(text("Text1")->hasFocus());
    QCOMPARE(text("Text1")->selectedText(), a);
    QVERIFY(m_fixture->services.boxes.isEmpty());
}

void TestForm1Arithmetic::accessKeysClickTheButtons_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("shown");

    QTest::newRow("Alt+A") << Qt::Key_A << "17";
    QTest::newRow("Alt+S") << Qt::Key_S << "7";
    QTest::newRow("Alt+M") << Qt::Key_M << "60";
    QTest::newRow("Alt+D") << Qt::Key_D << "2.4";
}

void TestForm1Arithmetic::accessKeysClickTheButtons()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, shown);
    type("Text1", QStringLiteral("12"));
    type("Text2", QStringLiteral("5"));

    QTest::keyClick(&m_fixture->form, key, Qt::AltModifier);

    QTRY_COMPARE(text("Text3")->text(), localized(shown));
    FormFixture::processQueuedKeys();
    QVERIFY(text("Text1")->hasFocus());
    QCOMPARE(text("Text1")->selectedText(), QStringLiteral("12"));
}

void TestForm1Arithmetic::emptyOperands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("focus");

    // clang-format off
    for (const char *command : { "Command1", "Command2", "Command3", "Command4" }) {
        const QString name = QLatin1String(command);
        QTest::addRow("%s both empty", command) << name << "" << "" << "Text1";
        QTest::addRow("%s B empty", command) << name << "3" << "" << "Text2";
        QTest::addRow("%s A empty", command) << name << "" << "3" << "Text1";
    }
    // The emptiness tests come before DIVIDE's zero test.
    QTest::newRow("DIVIDE A empty, B 0") << "Command4" << "" << "0" << "Text1";
    // Exactly empty: blanks are a text, whose leading number is 0.
    QTest::newRow("ADD A blank") << "Command1" << " " << "3" << "";
    // clang-format on
}

void TestForm1Arithmetic::emptyOperands()
{
    QFETCH(QString, command);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, focus);
    paste("Text1", a);
    paste("Text2", b);

    click(command.toLatin1().constData());

    if (focus.isEmpty()) {
        QCOMPARE(text("Text3")->text(), QStringLiteral("3"));
        return;
    }
    QCOMPARE(text("Text3")->text(), EnterTheValues);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(m_fixture->form.lastResult(), QString());
}

void TestForm1Arithmetic::zeroDivisor_data()
{
    QTest::addColumn<QString>("b");
    QTest::newRow("0") << "0";
    QTest::newRow("0.0") << "0.0";
    QTest::newRow("00") << "00";
    QTest::newRow(".") << ".";
}

void TestForm1Arithmetic::zeroDivisor()
{
    QFETCH(QString, b);
    type("Text1", QStringLiteral("12"));
    type("Text2", b);

    click("Command4");

    QCOMPARE(text("Text3")->text(), InvalidOperation);
    QVERIFY(text("Text1")->hasFocus());
    QVERIFY(m_fixture->services.boxes.isEmpty());
}

void TestForm1Arithmetic::onlyAddAndModKeepTheirResult()
{
    type("Text1", QStringLiteral("12"));
    type("Text2", QStringLiteral("5"));
    click("Command1");
    QCOMPARE(m_fixture->form.lastResult(), QStringLiteral("17"));
    QCOMPARE(text("Text3")->text(), m_fixture->form.lastResult());

    for (const char *other : { "Command2", "Command3", "Command4" }) {
        click(other);
        QVERIFY(text("Text3")->text() != QStringLiteral("17"));
        QCOMPARE(m_fixture->form.lastResult(), QStringLiteral("17"));
    }

    type("Text2", QStringLiteral("8"));
    click("Command1");
    QCOMPARE(m_fixture->form.lastResult(), QStringLiteral("20"));
}

void TestForm1Arithmetic::overflowKeepsEverythingAndIsShown_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");

    const QString digits200 = QString(200, u'9');
    // clang-format off
    QTest::newRow("MULTIPLY two 200-digit numbers") << "Command3" << digits200 << digits200;
    QTest::newRow("DIVIDE 200 digits by 0.00...1") << "Command4" << digits200 << "0." + QString(200, u'0') + "1";
    QTest::newRow("ADD largest doubles") << "Command1" << "1.7976931348623157e308" << "1.7976931348623157e308";
    QTest::newRow("ADD pasted 1e400 in A") << "Command1" << "1e400" << "1";
    QTest::newRow("SUBTRACT pasted 1e400 in B") << "Command2" << "1" << "1e400";
    QTest::newRow("DIVIDE pasted 1e400 in B") << "Command4" << "1" << "1e400";
    // clang-format on
}

void TestForm1Arithmetic::overflowKeepsEverythingAndIsShown()
{
    QFETCH(QString, command);
    QFETCH(QString, a);
    QFETCH(QString, b);
    type("Text1", QStringLiteral("12"));
    type("Text2", QStringLiteral("5"));
    click("Command1");
    paste("Text1", a);
    paste("Text2", b);
    // The output before the failing click, whatever the box edits left there.
    const QString shownBefore = text("Text3")->text();
    const QString lastResultBefore = m_fixture->form.lastResult();

    QPushButton *pressed = button(command.toLatin1().constData());
    click(command.toLatin1().constData());

    QCOMPARE(m_fixture->services.boxes.size(), 1);
    QCOMPARE(m_fixture->services.boxes[0].prompt,
             QStringLiteral("Run-time error '6':\r\n\r\nOverflow"));
    QCOMPARE(m_fixture->services.boxes[0].style, runtime::MsgBoxStyle::Critical);
    QCOMPARE(m_fixture->services.boxes[0].title, QStringLiteral("Error !"));
    QCOMPARE(text("Text3")->text(), shownBefore);
    QCOMPARE(m_fixture->form.lastResult(), lastResultBefore);
    QVERIFY(pressed->hasFocus()); // where the click put it; the handler did not move it
    QVERIFY(m_fixture->form.isVisible());

    // The window goes on working.
    paste("Text1", QStringLiteral("2"));
    paste("Text2", QStringLiteral("3"));
    click("Command1");
    QCOMPARE(text("Text3")->text(), QStringLiteral("5"));
}

QTEST_MAIN(TestForm1Arithmetic)
#include "tst_form1arithmetic.moc"
