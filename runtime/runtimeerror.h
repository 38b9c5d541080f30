#pragma once

#include <QString>

#include <exception>

namespace runtime {

// The error numbers the program can raise, numbered as the desktop runtime numbers them.
enum class ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    DivisionByZero = 11,
    TypeMismatch = 13,
    FileNotFound = 53,
};

constexpr const char *errorDescription(ErrorNumber number) noexcept
{
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return "Invalid procedure call or argument";
    case ErrorNumber::Overflow:
        return "Overflow";
    case ErrorNumber::DivisionByZero:
        return "Division by zero";
    case ErrorNumber::TypeMismatch:
        return "Type mismatch";
    case ErrorNumber::FileNotFound:
        return "File not found";
    }
    return "Application-defined or object-defined error";
}

// A runtime error raised by a service. It ends the handler at the failing step unless the
// handler traps it (errortrap.h); it never crosses a signal or the event loop
// (errorpresentation.h catches it at the edge of every handler).
class RuntimeError : public std::exception
{
public:
    explicit RuntimeError(ErrorNumber number) noexcept : m_number(number) { }

    ErrorNumber errorNumber() const noexcept { return m_number; }
    int number() const noexcept { return static_cast<int>(m_number); }
    QString description() const { return QString::fromLatin1(errorDescription(m_number)); }
    const char *what() const noexcept override { return errorDescription(m_number); }

private:
    ErrorNumber m_number;
};

} // namespace runtime
