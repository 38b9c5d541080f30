#pragma once

#include <QLockFile>
#include <QString>

#include <optional>

namespace runtime {

// The mark of the running copy: a lock file per user and display, held for the life of the
// process. Creating it is atomic, so of two copies started at the same moment exactly one gets
// it; a lock left by a copy that crashed or was killed names a process that no longer runs, and
// the next start takes it over.
class SingleInstanceLock
{
public:
    explicit SingleInstanceLock(const QString &lockFilePath = defaultLockFilePath());

    // True when another live copy holds the lock. The lock is tried once, at the first call;
    // the answer is kept for the life of this copy.
    bool anotherCopyRuns();

    // <runtime folder>/tallyvex-<display>.lock, the runtime folder being the user's own; empty
    // when the user has no such folder.
    static QString defaultLockFilePath();

private:
    QLockFile m_lock;
    std::optional<bool> m_anotherCopyRuns;
};

} // namespace runtime
