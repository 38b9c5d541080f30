#include "ops/arithmetic.h"
#include "ops/operations.h"
#include "ops/positions.h"
#include "support/runtimeerrorcheck.h"

#include <QTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(ops::Arithmetic)

namespace {
constexpr int NoError = 0;
constexpr double Huge = 1e200;
constexpr double Largest = std::numeric_limits<double>::max();
} // namespace

class TestNumericServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundToInteger_data();
    void roundToInteger();
    void power_data();
    void power();
    void remainder_data();
    void remainder();
    void arithmetic_data();
    void arithmetic();
    void zeroDivisor_data();
    void zeroDivisor();
    void centredStart_data();
    void centredStart();
    void bannerTicks_data();
    void bannerTicks();
    void bannerPasses();
};

void TestNumericServices::roundToInteger_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("error");

    QTest::newRow("0.5") << 0.5 << 0 << NoError;
    QTest::newRow("1.5") << 1.5 << 2 << NoError;
    QTest::newRow("2.5") << 2.5 << 2 << NoError;
    QTest::newRow("3.5") << 3.5 << 4 << NoError;
    QTest::newRow("6.5") << 6.5 << 6 << NoError;
    QTest::newRow("7.5") << 7.5 << 8 << NoError;
    QTest::newRow("-2.5") << -2.5 << -2 << NoError;
    QTest::newRow("-3.5") << -3.5 << -4 << NoError;
    QTest::newRow("-0.5") << -0.5 << 0 << NoError;
    QTest::newRow("2.4999999999999996") << 2.4999999999999996 << 2 << NoError;
    QTest::newRow("2.5000000000000004") << 2.5000000000000004 << 3 << NoError;
    QTest::newRow("0.4") << 0.4 << 0 << NoError;
    QTest::newRow("-7.6") << -7.6 << -8 << NoError;
    QTest::newRow("highest") << 2147483647.0 << 2147483647 << NoError;
    QTest::newRow("2147483647.4") << 2147483647.4 << 2147483647 << NoError;
    QTest::newRow("2147483647.5 fails") << 2147483647.5 << 0 << 6;
    QTest::newRow("2147483648 fails") << 2147483648.0 << 0 << 6;
    QTest::newRow("-2147483648.5 to lowest")
            << -2147483648.5 << std::numeric_limits<int>::min() << NoError;
    QTest::newRow("-2147483649 fails") << -2147483649.0 << 0 << 6;
    QTest::newRow("1e300 fails") << 1e300 << 0 << 6;
    QTest::newRow("infinity fails") << std::numeric_limits<double>::infinity() << 0 << 6;
    QTest::newRow("NaN fails") << std::numeric_limits<double>::quiet_NaN() << 0 << 6;
}

void TestNumericServices::roundToInteger()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QFETCH(int, error);
    std::int32_t result = 0;
    QCOMPARE(raisedErrorNumber([&] { result = ops::vbaFpI4(value); }).value_or(NoError), error);
    if (error == NoError)
        QCOMPARE(result, expected);
}

void TestNumericServices::power_data()
{
    QTest::addColumn<double>("base");
    QTest::addColumn<double>("exponent");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("error");

    QTest::newRow("2^10") << 2.0 << 10.0 << 1024.0 << NoError;
    QTest::newRow("2^0.5") << 2.0 << 0.5 << std::sqrt(2.0) << NoError;
    QTest::newRow("0^3") << 0.0 << 3.0 << 0.0 << NoError;
    QTest::newRow("3^0") << 3.0 << 0.0 << 1.0 << NoError;
    QTest::newRow("-2^3") << -2.0 << 3.0 << -8.0 << NoError;
    QTest::newRow("2^-2") << 2.0 << -2.0 << 0.25 << NoError;
    QTest::newRow("2^-2000 underflows") << 2.0 << -2000.0 << 0.0 << NoError;
    QTest::newRow("10^400 overflows") << 10.0 << 400.0 << 0.0 << 6;
    QTest::newRow("-10^309 overflows") << -10.0 << 309.0 << 0.0 << 6;
    QTest::newRow("-8^(1/3) undefined") << -8.0 << 1.0 / 3.0 << 0.0 << 5;
    QTest::newRow("-2^0.5 undefined") << -2.0 << 0.5 << 0.0 << 5;
    QTest::newRow("0^-1 undefined") << 0.0 << -1.0 << 0.0 << 5;
}

void TestNumericServices::power()
{
    QFETCH(double, base);
    QFETCH(double, exponent);
    QFETCH(double, expected);
    QFETCH(int, error);
    double result = 0.0;
    QCOMPARE(raisedErrorNumber([&] { result = ops::vbaPowerR8(base, exponent); }).value_or(NoError),
             error);
    if (error == NoError)
        QCOMPARE(result, expected);
}

void TestNumericServices::remainder_data()
{
    QTest::addColumn<int>("dividend");
    QTest::addColumn<int>("divisor");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("error");

    const int lowest = std::numeric_limits<int>::min();
    QTest::newRow("7 by 3") << 7 << 3 << 1 << NoError;
    QTest::newRow("-7 by 3") << -7 << 3 << -1 << NoError;
    QTest::newRow("7 by -3") << 7 << -3 << 1 << NoError;
    QTest::newRow("-7 by -3") << -7 << -3 << -1 << NoError;
    QTest::newRow("6 by 3") << 6 << 3 << 0 << NoError;
    QTest::newRow("2147483647 by 10") << 2147483647 << 10 << 7 << NoError;
    QTest::newRow("lowest by 1") << lowest << 1 << 0 << NoError;
    QTest::newRow("lowest by 7") << lowest << 7 << -2 << NoError;
    QTest::newRow("7 by 0") << 7 << 0 << 0 << 11;
    QTest::newRow("lowest by -1") << lowest << -1 << 0 << 6;
}

void TestNumericServices::remainder()
{
    QFETCH(int, dividend);
    QFETCH(int, divisor);
    QFETCH(int, expected);
    QFETCH(int, error);
    std::int32_t result = 0;
    QCOMPARE(raisedErrorNumber([&] {
                 result = ops::remainderI4(dividend, divisor);
             }).value_or(NoError),
             error);
    if (error == NoError)
        QCOMPARE(result, expected);
}

void TestNumericServices::arithmetic_data()
{
    QTest::addColumn<ops::Arithmetic>("operation");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("error");

    using ops::Arithmetic;
    QTest::newRow("12 + 5") << Arithmetic::Add << 12.0 << 5.0 << 17.0 << NoError;
    QTest::newRow("5 - 12") << Arithmetic::Subtract << 5.0 << 12.0 << -7.0 << NoError;
    QTest::newRow("12 * 5") << Arithmetic::Multiply << 12.0 << 5.0 << 60.0 << NoError;
    QTest::newRow("12 / 5") << Arithmetic::Divide << 12.0 << 5.0 << 2.4 << NoError;
    QTest::newRow("0 / 2") << Arithmetic::Divide << 0.0 << 2.0 << 0.0 << NoError;
    QTest::newRow("largest + largest") << Arithmetic::Add << Largest << Largest << 0.0 << 6;
    QTest::newRow("-largest - largest") << Arithmetic::Subtract << -Largest << Largest << 0.0 << 6;
    QTest::newRow("1e200 * 1e200") << Arithmetic::Multiply << Huge << Huge << 0.0 << 6;
    QTest::newRow("1e200 / 1e-200") << Arithmetic::Divide << Huge << 1e-200 << 0.0 << 6;
    QTest::newRow("1e-200 * 1e-200 underflows")
            << Arithmetic::Multiply << 1e-200 << 1e-200 << 0.0 << NoError;
}

void TestNumericServices::arithmetic()
{
    QFETCH(ops::Arithmetic, operation);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, expected);
    QFETCH(int, error);
    double result = 0.0;
    QCOMPARE(
            raisedErrorNumber([&] { result = ops::arithmetic(operation, a, b); }).value_or(NoError),
            error);
    if (error == NoError)
        QCOMPARE(result, expected);
}

void TestNumericServices::zeroDivisor_data()
{
    QTest::addColumn<QString>("bText");
    QTest::addColumn<bool>("zero");

    QTest::newRow("0") << "0" << true;
    QTest::newRow("0.000") << "0.000" << true;
    QTest::newRow("00") << "00" << true;
    QTest::newRow(".") << "." << true;
    QTest::newRow("abc") << "abc" << true;
    QTest::newRow("-0") << "-0" << true;
    QTest::newRow("1e-400 underflows to zero") << "1e-400" << true;
    QTest::newRow("0.0001") << "0.0001" << false;
    QTest::newRow("3") << "3" << false;
}

void TestNumericServices::zeroDivisor()
{
    QFETCH(QString, bText);
    QFETCH(bool, zero);
    QCOMPARE(ops::isZeroDivisor(bText), zero);
}

void TestNumericServices::centredStart_data()
{
    QTest::addColumn<float>("screen");
    QTest::addColumn<float>("window");
    QTest::addColumn<float>("start");

    QTest::newRow("12000, 9000") << 12000.0f << 9000.0f << 1500.0f;
    QTest::newRow("12000, 9015: 2985 halves down") << 12000.0f << 9015.0f << 1492.0f;
    QTest::newRow("15 wider than the screen") << 9000.0f << 9015.0f << -7.0f;
    QTest::newRow("same size") << 9000.0f << 9000.0f << 0.0f;
    // The difference is rounded before it is halved, a half going to the even integer.
    QTest::newRow("difference 2984.5 to 2984") << 12000.5f << 9016.0f << 1492.0f;
    QTest::newRow("difference 2985.5 to 2986") << 12000.5f << 9015.0f << 1493.0f;
}

void TestNumericServices::centredStart()
{
    QFETCH(float, screen);
    QFETCH(float, window);
    QFETCH(float, start);
    QCOMPARE(ops::centredStart(screen, window), start);
}

void TestNumericServices::bannerTicks_data()
{
    QTest::addColumn<float>("left");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<float>("after");

    QTest::newRow("one tick from the start") << 9720.0f << 1 << 9660.0f;
    QTest::newRow("ten ticks from the start") << 9720.0f << 10 << 9120.0f;
    QTest::newRow("319 ticks: just out of sight") << 9720.0f << 319 << -9420.0f;
    QTest::newRow("-11940 stops at -12000") << -11940.0f << 1 << -12000.0f;
    QTest::newRow("-11940, two ticks: restart") << -11940.0f << 2 << 10000.0f;
    QTest::newRow("-11990: restart at once") << -11990.0f << 1 << 10000.0f;
    QTest::newRow("already below the threshold") << -12500.0f << 1 << 10000.0f;
    QTest::newRow("a step that is no whole pixel") << 10000.0f << 1 << 9940.0f;
}

void TestNumericServices::bannerTicks()
{
    QFETCH(float, left);
    QFETCH(int, ticks);
    QFETCH(float, after);
    for (int tick = 0; tick < ticks; ++tick)
        left = ops::bannerStep(left);
    QCOMPARE(left, after);
}

void TestNumericServices::bannerPasses()
{
    // Ticks until the banner starts again at 10000: from the layout's 9720, then from 10000.
    const auto ticksToRestart = [](float left) {
        int ticks = 0;
        do {
            left = ops::bannerStep(left);
            ++ticks;
        } while (left != 10000.0f && ticks < 1000);
        return ticks;
    };
    QCOMPARE(ticksToRestart(9720.0f), 363);
    QCOMPARE(ticksToRestart(10000.0f), 367);
}

QTEST_GUILESS_MAIN(TestNumericServices)
#include "tst_numericservices.moc"
