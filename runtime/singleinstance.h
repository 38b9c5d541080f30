#pragma once

#include <QString>

#ifndef Q_OS_UNIX
#include <QLockFile>
#endif

#include <optional>

namespace runtime {

// The mark of the running copy: a lock on a file per user and display, held for the life of the
// process. Of two copies started at the same moment exactly one gets it, and a copy that crashed
// or was killed holds nothing that could block the next start.
class SingleInstanceLock
{
public:
    explicit SingleInstanceLock(const QString &lockFilePath = defaultLockFilePath());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock &) = delete;
    SingleInstanceLock &operator=(const SingleInstanceLock &) = delete;

    // True when another live copy holds the lock. The lock is tried once, at the first call;
    // the answer is kept for the life of this copy.
    bool anotherCopyRuns();

    // <runtime folder>/tallyvex-<display>.lock, the runtime folder being the user's own; empty
    // when the user has no such folder.
    static QString defaultLockFilePath();

private:
    // Takes the lock; false only when another copy holds it.
    bool acquire();

#ifdef Q_OS_UNIX
    // The kernel's lock on an open file goes with the process, however it ends: nothing is
    // written, and there is no stale lock to recognise.
    QString m_path;
    int m_descriptor = -1;
#else
    QLockFile m_lock;
#endif
    std::optional<bool> m_anotherCopyRuns;
};

} // namespace runtime
