#include "ops/arithmetic.h"
#include "ops/operations.h"
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
    QTest::newRow("-2147483648.5 to lowest") << -2147483648.5 << std::numeric_limits<int>::min()
                                            << NoError;
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
    QCOMPARE(raisedErrorNumber([&] { result = ops::remainderI4(dividend, divisor); })
                 .value_or(NoError),
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
    QTest::newRow("1e-200 * 1e-200 underflows") << Arithmetic::Multiply << 1e-200 << 1e-200 << 0.0
                                                << NoError;
}

void TestNumericServices::arithmetic()
{
    QFETCH(ops::Arithmetic, operation);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, expected);
    QFETCH(int, error);
    double result = 0.0;
    QCOMPARE(raisedErrorNumber([&] { result = ops::arithmetic(operation, a, b); }).value_or(NoError),
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

QTEST_GUILESS_MAIN(TestNumericServices)
#include "tst_numericservices.moc"
