#include "ops/conversions.h"

#include "runtime/runtimeerror.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace ops {
namespace {

using runtime::ErrorNumber;
using runtime::RuntimeError;

constexpr int SignificantDigits = 15;
constexpr int LowestPlainExponent = -4;
constexpr int HighestPlainExponent = 14;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isSkippedByLeadingParse(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isBlankAroundStrictNumber(QChar c)
{
    return c == u' ' || c == u'\t';
}

// A decimal number as read from a text, kept as digits until it becomes a double.
struct DecimalNumber
{
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    bool exponentNegative = false;
    std::string exponentDigits;

    bool hasDigits() const { return !integerDigits.empty() || !fractionDigits.empty(); }
};

qsizetype readDigits(QStringView text, qsizetype pos, std::string &digits)
{
    for (; pos < text.size() && isAsciiDigit(text[pos]); ++pos)
        digits.push_back(static_cast<char>(text[pos].unicode()));
    return pos;
}

// An exponent counts only when complete: "E" or "e", an optional sign and at least one digit.
// Returns the position after it, or pos itself when there is none.
qsizetype readExponent(QStringView text, qsizetype pos, DecimalNumber &number)
{
    if (pos >= text.size() || (text[pos] != u'e' && text[pos] != u'E'))
        return pos;
    qsizetype next = pos + 1;
    bool negative = false;
    if (next < text.size() && (text[next] == u'+' || text[next] == u'-')) {
        negative = text[next] == u'-';
        ++next;
    }
    std::string digits;
    next = readDigits(text, next, digits);
    if (digits.empty())
        return pos;
    number.exponentNegative = negative;
    number.exponentDigits = std::move(digits);
    return next;
}

// Reads sign, digits, fraction and exponent from the start of the text; returns where the
// number ends. The number has no digits when the text does not begin with one. The decimal
// point is "." in every locale, for both readings, so that a text the strict reading accepts is
// the number the leading-number reading computes.
qsizetype readNumber(QStringView text, DecimalNumber &number)
{
    qsizetype pos = 0;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        number.negative = text[pos] == u'-';
        ++pos;
    }
    pos = readDigits(text, pos, number.integerDigits);
    if (pos < text.size() && text[pos] == u'.')
        pos = readDigits(text, pos + 1, number.fractionDigits);
    if (!number.hasDigits())
        return 0;
    return readExponent(text, pos, number);
}

// The power of ten of the number's first digit once its exponent is applied; only its sign is
// used, to tell a value too large from one too small, so the exponent saturates.
long long decimalScale(const DecimalNumber &number)
{
    long long leading = 0;
    if (const auto first = number.integerDigits.find_first_not_of('0'); first != std::string::npos)
        leading = static_cast<long long>(number.integerDigits.size() - first) - 1;
    else if (const auto firstFraction = number.fractionDigits.find_first_not_of('0');
             firstFraction != std::string::npos)
        leading = -static_cast<long long>(firstFraction) - 1;
    else
        return 0; // a zero is never out of range

    constexpr long long saturation = 1'000'000'000;
    long long exponent = 0;
    for (const char digit : number.exponentDigits)
        exponent = std::min(saturation, exponent * 10 + (digit - '0'));
    return leading + (number.exponentNegative ? -exponent : exponent);
}

double toDouble(const DecimalNumber &number)
{
    std::string literal = number.integerDigits.empty() ? std::string("0") : number.integerDigits;
    if (!number.fractionDigits.empty())
        literal += '.' + number.fractionDigits;
    if (!number.exponentDigits.empty())
        literal += (number.exponentNegative ? "e-" : "e") + number.exponentDigits;

    double value = 0.0;
    const auto [end, error] =
            std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (decimalScale(number) > 0)
            throw RuntimeError(ErrorNumber::Overflow);
        value = 0.0; // too small for a double: it underflows to zero
    }
    return number.negative ? -value : value;
}

// Digits and decimal exponent of a value rounded to 15 significant digits, trailing zeros dropped.
struct RoundedDecimal
{
    bool negative = false;
    QString digits;
    int exponent = 0;
};

RoundedDecimal roundToSignificantDigits(double value)
{
    // "-d.dddddddddddddde-ddd" fits easily.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));

    RoundedDecimal rounded;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        rounded.negative = true;
        ++pos;
    }
    const std::size_t exponentMark = text.find('e');
    for (; pos < exponentMark; ++pos) {
        if (text[pos] != '.')
            rounded.digits.append(QLatin1Char(text[pos]));
    }
    std::from_chars(text.data() + exponentMark + (text[exponentMark + 1] == '+' ? 2 : 1),
                    text.data() + text.size(), rounded.exponent);
    while (rounded.digits.size() > 1 && rounded.digits.endsWith(u'0'))
        rounded.digits.chop(1);
    return rounded;
}

QString plainNotation(const RoundedDecimal &rounded, QChar decimalSeparator)
{
    if (rounded.exponent < 0) {
        return QLatin1String("0") + decimalSeparator + QString(-rounded.exponent - 1, u'0')
                + rounded.digits;
    }
    const qsizetype integerLength = rounded.exponent + 1;
    if (rounded.digits.size() <= integerLength)
        return rounded.digits + QString(integerLength - rounded.digits.size(), u'0');
    return rounded.digits.left(integerLength) + decimalSeparator
            + rounded.digits.mid(integerLength);
}

QString scientificNotation(const RoundedDecimal &rounded, QChar decimalSeparator)
{
    QString text = rounded.digits.left(1);
    if (rounded.digits.size() > 1)
        text += decimalSeparator + rounded.digits.mid(1);
    text += rounded.exponent < 0 ? QLatin1String("E-") : QLatin1String("E+");
    text += QStringLiteral("%1").arg(std::abs(rounded.exponent), 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace

double rtcR8ValFromBstr(QStringView text)
{
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (!isSkippedByLeadingParse(c))
            compact.append(c);
    }
    DecimalNumber number;
    readNumber(compact, number);
    return number.hasDigits() ? toDouble(number) : 0.0;
}

double vbaR8Str(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankAroundStrictNumber(text[first]))
        ++first;
    while (last > first && isBlankAroundStrictNumber(text[last - 1]))
        --last;
    const QStringView trimmed = text.sliced(first, last - first);

    // A pasted "2,5" is refused in every locale rather than computed as 2 by POW and MOD.
    DecimalNumber number;
    const qsizetype end = readNumber(trimmed, number);
    if (!number.hasDigits() || end != trimmed.size())
        throw RuntimeError(ErrorNumber::TypeMismatch);
    return toDouble(number);
}

QString vbaStrR8(double value, QChar decimalSeparator)
{
    // No result shown is ever infinite or undefined: the status test stops such a result first.
    if (!std::isfinite(value))
        throw RuntimeError(ErrorNumber::Overflow);

    const RoundedDecimal rounded = roundToSignificantDigits(value);
    if (rounded.digits == u"0")
        return QStringLiteral("0");

    const bool plain =
            rounded.exponent >= LowestPlainExponent && rounded.exponent <= HighestPlainExponent;
    const QString magnitude = plain ? plainNotation(rounded, decimalSeparator)
                                    : scientificNotation(rounded, decimalSeparator);
    return rounded.negative ? u'-' + magnitude : magnitude;
}

QString vbaStrI4(std::int32_t value)
{
    return QString::number(value);
}

QChar systemDecimalSeparator()
{
    const QString separator = QLocale::system().decimalPoint();
    return separator.isEmpty() ? QChar(u'.') : separator.front();
}

} // namespace ops
