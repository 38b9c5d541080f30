#pragma once

#include <QLocale>
#include <QString>
#include <QTest>

// The text a result written with "." is shown as in the user's locale.
inline QString localized(QString shown)
{
    return shown.replace(u'.', QLocale::system().decimalPoint());
}

// A run asked for a "," locale must really see one, or it would test nothing new.
inline void verifyTheLocaleAskedFor()
{
    if (qgetenv("LC_ALL").startsWith("de"))
        QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
}
