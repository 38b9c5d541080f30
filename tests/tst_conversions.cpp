#include "ops/conversions.h"
#include "support/runtimeerrorcheck.h"

#include <QTest>

#include <cmath>
#include <limits>

using ops::rtcR8ValFromBstr;
using ops::vbaR8Str;
using ops::vbaStrI4;
using ops::vbaStrR8;

class TestConversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumberBeyondRange_data();
    void leadingNumberBeyondRange();
    void strictNumber_data();
    void strictNumber();
    void strictNumberRejected_data();
    void strictNumberRejected();
    void numberToText_data();
    void numberToText();
    void numberToTextRefusesNonFinite();
    void integerToText_data();
    void integerToText();
};

void TestConversions::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("12") << "12" << 12.0;
    QTest::newRow("12.5.3") << "12.5.3" << 12.5;
    QTest::newRow("1.2.3") << "1.2.3" << 1.2;
    QTest::newRow("007.50") << "007.50" << 7.5;
    QTest::newRow("' 1 2'") << " 1 2" << 12.0;
    QTest::newRow("tab and line feed inside") << "\t1\n2.\t5" << 12.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow(".") << "." << 0.0;
    QTest::newRow("abc") << "abc" << 0.0;
    QTest::newRow("-") << "-" << 0.0;
    QTest::newRow("-7") << "-7" << -7.0;
    QTest::newRow("+7") << "+7" << 7.0;
    QTest::newRow("- 7 (blank after sign)") << "- 7" << -7.0;
    QTest::newRow("--7") << "--7" << 0.0;
    QTest::newRow(".5") << ".5" << 0.5;
    QTest::newRow("-.5") << "-.5" << -0.5;
    QTest::newRow("5.") << "5." << 5.0;
    QTest::newRow("1e3") << "1e3" << 1000.0;
    QTest::newRow("1E+3") << "1E+3" << 1000.0;
    QTest::newRow("2.5e-1") << "2.5e-1" << 0.25;
    QTest::newRow("1 e 3 (blanks in exponent)") << "1 e 3" << 1000.0;
    QTest::newRow("1e (no exponent digits)") << "1e" << 1.0;
    QTest::newRow("1e+ (no exponent digits)") << "1e+" << 1.0;
    QTest::newRow("1x5") << "1x5" << 1.0;
    QTest::newRow("1,5 (comma ends the number)") << "1,5" << 1.0;
    QTest::newRow("carriage return ends the number") << "1\r2" << 1.0;
    QTest::newRow("Arabic-Indic digit is no digit") << QString::fromUtf8("\u0661") << 0.0;
    QTest::newRow("1e-400 underflows to 0") << "1e-400" << 0.0;
    QTest::newRow("subnormal kept") << "4.9e-324" << 4.9e-324;
    QTest::newRow("largest double") << "1.7976931348623157e308" << 1.7976931348623157e308;
    QTest::newRow("400 zeros are zero") << QString(400, u'0') << 0.0;
    QTest::newRow("0e999999999999") << "0e999999999999" << 0.0;
    QTest::newRow("long fraction rounds") << "0." + QString(300, u'3') << 1.0 / 3.0;
}

void TestConversions::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(rtcR8ValFromBstr(text), expected);
}

void TestConversions::leadingNumberBeyondRange_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("1e400") << "1e400";
    QTest::newRow("-1e400") << "-1e400";
    QTest::newRow("400 digits") << "1" + QString(399, u'0');
    QTest::newRow("just above the largest double") << "1.7976931348623159e308";
    QTest::newRow("huge exponent") << "1e99999999999999999999";
    QTest::newRow("small mantissa, big exponent") << "0.000001e320";
}

void TestConversions::leadingNumberBeyondRange()
{
    QFETCH(QString, text);
    QCOMPARE(raisedErrorNumber([&] { rtcR8ValFromBstr(text); }), 6);
}

void TestConversions::strictNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("46") << "46" << 46.0;
    QTest::newRow("8") << "8" << 8.0;
    QTest::newRow("1.5") << "1.5" << 1.5;
    QTest::newRow("1.") << "1." << 1.0;
    QTest::newRow(".5") << ".5" << 0.5;
    QTest::newRow("blanks around") << "  7\t " << 7.0;
    QTest::newRow("-7") << "-7" << -7.0;
    QTest::newRow("+7") << "+7" << 7.0;
    QTest::newRow("0.0") << "0.0" << 0.0;
    QTest::newRow("00") << "00" << 0.0;
    QTest::newRow("1e3") << "1e3" << 1000.0;
    QTest::newRow("2.5E-1") << "2.5E-1" << 0.25;
    QTest::newRow("-2.5e1") << "-2.5e1" << -25.0;
    QTest::newRow("1e-400 underflows") << "1e-400" << 0.0;
}

void TestConversions::strictNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(vbaR8Str(text), expected);
}

void TestConversions::strictNumberRejected_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");

    QTest::newRow(".") << "." << 13;
    QTest::newRow("1.2.3") << "1.2.3" << 13;
    QTest::newRow("empty") << "" << 13;
    QTest::newRow("blanks only") << "   " << 13;
    QTest::newRow("abc") << "abc" << 13;
    QTest::newRow("12abc") << "12abc" << 13;
    QTest::newRow("1 2 (blank inside)") << "1 2" << 13;
    QTest::newRow("1e (no exponent digits)") << "1e" << 13;
    QTest::newRow("-") << "-" << 13;
    QTest::newRow("line feed around") << "\n5" << 13;
    // The leading-number reading that POW and MOD compute with would take "2,5" as 2.
    QTest::newRow("pasted 2,5") << "2,5" << 13;
    QTest::newRow("1.2,3") << "1.2,3" << 13;
    QTest::newRow(",") << "," << 13;
    QTest::newRow("1e400") << "1e400" << 6;
    QTest::newRow("400 digits") << "9" + QString(399, u'9') << 6;
}

void TestConversions::strictNumberRejected()
{
    QFETCH(QString, text);
    QFETCH(int, error);
    QCOMPARE(raisedErrorNumber([&] { vbaR8Str(text); }), error);
}

void TestConversions::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const QChar point(u'.');
    const QChar comma(u',');
    QTest::newRow("17") << 17.0 << point << "17";
    QTest::newRow("-7") << -7.0 << point << "-7";
    QTest::newRow("2.4") << 2.4 << point << "2.4";
    QTest::newRow("1/3") << 1.0 / 3.0 << point << "0.333333333333333";
    QTest::newRow("2/3") << 2.0 / 3.0 << point << "0.666666666666667";
    QTest::newRow("-2/3") << -2.0 / 3.0 << point << "-0.666666666666667";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << point << "0.3";
    QTest::newRow("sqrt 2") << std::sqrt(2.0) << point << "1.4142135623731";
    QTest::newRow("999999999999999") << 999999999999999.0 << point << "999999999999999";
    QTest::newRow("999999999999999.5 rounds up to 1E+15") << 999999999999999.5 << point << "1E+15";
    QTest::newRow("1E15") << 1e15 << point << "1E+15";
    QTest::newRow("123456789012345678") << 123456789012345678.0 << point << "1.23456789012346E+17";
    QTest::newRow("1E100") << 1e100 << point << "1E+100";
    QTest::newRow("largest double")
            << std::numeric_limits<double>::max() << point << "1.79769313486232E+308";
    QTest::newRow("0.0001") << 0.0001 << point << "0.0001";
    QTest::newRow("0.00001") << 0.00001 << point << "1E-05";
    QTest::newRow("-0.000012345") << -0.000012345 << point << "-1.2345E-05";
    QTest::newRow("0.00009999999999999995 rounds up to 0.0001")
            << 0.00009999999999999995 << point << "0.0001";
    QTest::newRow("smallest subnormal")
            << std::numeric_limits<double>::denorm_min() << point << "4.94065645841247E-324";
    QTest::newRow("1024") << 1024.0 << point << "1024";
    QTest::newRow("100 (trailing integer zeros kept)") << 100.0 << point << "100";
    QTest::newRow("0") << 0.0 << point << "0";
    QTest::newRow("-0 is 0") << -0.0 << point << "0";
    QTest::newRow("comma: 2.4") << 2.4 << comma << "2,4";
    QTest::newRow("comma: 1/3") << 1.0 / 3.0 << comma << "0,333333333333333";
    QTest::newRow("comma: 1.5E-07") << 1.5e-7 << comma << "1,5E-07";
    QTest::newRow("comma: 17") << 17.0 << comma << "17";
}

void TestConversions::numberToText()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    QCOMPARE(vbaStrR8(value, separator), expected);
}

void TestConversions::numberToTextRefusesNonFinite()
{
    QCOMPARE(raisedErrorNumber([] { vbaStrR8(std::numeric_limits<double>::infinity(), u'.'); }), 6);
    QCOMPARE(raisedErrorNumber([] { vbaStrR8(std::numeric_limits<double>::quiet_NaN(), u'.'); }),
             6);
}

void TestConversions::integerToText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("1") << 1 << "1";
    QTest::newRow("0") << 0 << "0";
    QTest::newRow("-1") << -1 << "-1";
    QTest::newRow("lowest") << std::numeric_limits<int>::min() << "-2147483648";
    QTest::newRow("highest") << std::numeric_limits<int>::max() << "2147483647";
}

void TestConversions::integerToText()
{
    QFETCH(int, value);
    QFETCH(QString, expected);
    QCOMPARE(vbaStrI4(value), expected);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
