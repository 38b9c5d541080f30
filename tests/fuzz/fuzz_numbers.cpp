// Fuzzes the number conversions and the operations' arithmetic with arbitrary input, checking
// what must hold for every input, not only that nothing crashes. The input is read as text for
// the parses, and its first bytes as two doubles and two 32-bit integers for the rest.
#include "ops/arithmetic.h"
#include "ops/conversions.h"
#include "runtime/runtimeerror.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

namespace {

using runtime::RuntimeError;

void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// The value, or the number of the runtime error the step raised.
template <typename Step>
auto attempt(Step step) -> std::pair<std::optional<decltype(step())>, int>
{
    try {
        return { step(), 0 };
    } catch (const RuntimeError &error) {
        return { std::nullopt, error.number() };
    }
}

double roundedTo15Digits(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", value);
    return std::strtod(text, nullptr);
}

int significantDigits(const QString &text)
{
    QString mantissa = text.section(u'E', 0, 0);
    mantissa.remove(u'-');
    mantissa.remove(u'.');
    mantissa.remove(u',');
    while (mantissa.startsWith(u'0'))
        mantissa.remove(0, 1);
    return int(mantissa.size());
}

void checkText(double value, QChar separator)
{
    const auto [text, error] = attempt([&] { return ops::vbaStrR8(value, separator); });
    if (!std::isfinite(value)) {
        require(error == 6, "the text of an infinity or NaN is error 6");
        return;
    }
    require(error == 0, "every finite double has a text");
    if (value == 0) {
        require(*text == u"0", "the text of a zero is \"0\"");
        return;
    }
    const QString shown = *text;
    require(significantDigits(shown) <= 15, "a text has at most 15 significant digits");
    const auto [readBack, readError] =
            attempt([&] { return ops::vbaR8Str(QString(shown).replace(separator, u'.')); });
    const double rounded = roundedTo15Digits(value);
    // Within 5e-15 of the largest double, rounding to 15 digits passes beyond it.
    if (std::isinf(rounded))
        require(readError == 6, "a text rounded past the largest double reads back as error 6");
    else
        require(readError == 0 && *readBack == rounded,
                "a text reads back strictly as the value rounded to 15 digits");
}

void checkParses(const QString &text)
{
    const auto [leading, leadingError] = attempt([&] { return ops::rtcR8ValFromBstr(text); });
    require(leadingError == 0 || leadingError == 6, "the leading parse fails only with error 6");
    if (leading)
        require(std::isfinite(*leading), "the leading parse gives a finite value");

    const auto [strict, strictError] = attempt([&] { return ops::vbaR8Str(text); });
    require(strictError == 0 || strictError == 6 || strictError == 13,
            "the strict parse fails only with error 13 or 6");
    if (strict) {
        require(std::isfinite(*strict), "the strict parse gives a finite value");
        // POW and MOD check with the one and compute with the other: they must agree.
        require(leading && *strict == *leading,
                "a strictly read number is the leading number of the text");
        for (const QChar separator : { QChar(u'.'), QChar(u',') })
            checkText(*strict, separator);
    }
    if (leading)
        checkText(*leading, u'.');
}

void checkRounding(double value)
{
    const auto [rounded, error] = attempt([&] { return ops::vbaFpI4(value); });
    if (!std::isfinite(value)) {
        require(error == 6, "an infinity or NaN does not round to an integer");
        return;
    }
    const double nearest = std::nearbyint(value); // halves to even in the default rounding mode
    const bool fits = nearest >= std::numeric_limits<std::int32_t>::min()
            && nearest <= std::numeric_limits<std::int32_t>::max();
    if (fits)
        require(error == 0 && *rounded == nearest,
                "rounding gives the nearest integer, halves to even");
    else
        require(error == 6, "an integer beyond 32 bits is error 6");
}

void checkRemainder(std::int32_t dividend, std::int32_t divisor)
{
    const auto [remainder, error] = attempt([&] { return ops::remainderI4(dividend, divisor); });
    if (divisor == 0) {
        require(error == 11, "a zero divisor is error 11");
        return;
    }
    if (dividend == std::numeric_limits<std::int32_t>::min() && divisor == -1) {
        require(error == 6, "the one quotient beyond 32 bits is error 6");
        return;
    }
    require(error == 0, "every other remainder exists");
    const std::int64_t r = *remainder;
    require(r == 0 || (r < 0) == (dividend < 0), "the remainder has the sign of the dividend");
    require(std::abs(r) < std::abs(std::int64_t(divisor)),
            "the remainder is smaller than the divisor");
    require(std::int64_t(dividend) == std::int64_t(dividend / divisor) * divisor + r,
            "quotient times divisor plus remainder is the dividend");
}

void checkPower(double base, double exponent)
{
    const auto [power, error] = attempt([&] { return ops::vbaPowerR8(base, exponent); });
    require(error == 0 || error == 5 || error == 6, "a power fails only with error 5 or 6");
    if (error == 0)
        require(std::isfinite(*power), "a power that exists is finite");
    // The operands of POW are read from text, so they are always finite.
    if (!std::isfinite(base) || !std::isfinite(exponent))
        return;
    const bool undefined =
            (base == 0 && exponent < 0) || (base < 0 && exponent != std::trunc(exponent));
    require((error == 5) == undefined, "error 5 exactly when the power is undefined");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    checkParses(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));

    if (size >= 2 * sizeof(double)) {
        double first = 0;
        double second = 0;
        std::memcpy(&first, data, sizeof first);
        std::memcpy(&second, data + sizeof first, sizeof second);
        checkText(first, u'.');
        checkText(second, u',');
        checkRounding(first);
        checkPower(first, second);
        std::int32_t dividend = 0;
        std::int32_t divisor = 0;
        std::memcpy(&dividend, data, sizeof dividend);
        std::memcpy(&divisor, data + sizeof dividend, sizeof divisor);
        checkRemainder(dividend, divisor);
    }
    return 0;
}
