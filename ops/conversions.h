#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>

// Every text that becomes a number, and every number that becomes a text, passes through here.
// Failures raise runtime::RuntimeError: 6 for a value beyond the double range, 13 for a text
// that is not a number.
namespace ops {

// The number with which the text begins. Blanks, tabs and line feeds are skipped wherever they
// stand; then an optional sign, digits, an optional "." with fraction digits and an optional
// exponent are read, up to the first character that cannot continue the number. The decimal
// point is always ".". A text that begins with no number gives 0; bad text never fails.
double rtcR8ValFromBstr(QStringView text);

// The value of the whole text: blanks around it, a sign, digits with at most one "." and an
// optional exponent. The decimal point is "." in every locale, as for rtcR8ValFromBstr.
// Anything else is error 13.
double vbaR8Str(QStringView text);

// The value rounded to 15 significant digits, in plain notation for decimal exponents -4 to 14
// and as mantissa, "E", sign and at least two exponent digits otherwise. Zero is "0", never "-0".
QString vbaStrR8(double value, QChar decimalSeparator);

QString vbaStrI4(std::int32_t value);

// The decimal separator of the user's locale, for vbaStrR8.
QChar systemDecimalSeparator();

} // namespace ops
