#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace runtime {

// Starts a program, or on Windows also opens an address or a document, with the arguments as
// they are: no shell parses them. Does not wait. Returns the started process's number (0 where
// the system names none), or nothing when it cannot be started.
std::optional<qint64> startDetachedProgram(const QString &program, const QStringList &arguments);

} // namespace runtime
