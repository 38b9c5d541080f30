#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace runtime {

// The mark of the running copy: a lock per user and desktop session that the system holds for
// the process and releases with it however it ends. Of two copies started at the same moment
// exactly one gets it, and a copy that crashed or was killed holds nothing that could block the
// next start. On Unix it is a lock on a file in the user's runtime folder; on Windows a named
// kernel object in the session's namespace.
class SingleInstanceLock
{
public:
    explicit SingleInstanceLock(const QString &lockName = defaultLockName());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock &) = delete;
    SingleInstanceLock &operator=(const SingleInstanceLock &) = delete;

    // True when another live copy holds the lock. The lock is tried once, at the first call;
    // the answer is kept for the life of this copy.
    bool anotherCopyRuns();

    // Unix: <runtime folder>/tallyvex-<session>.lock, the runtime folder being the user's own,
    // or empty when the user has no such folder. Windows: the mutex CMake names
    // (TALLYVEX_RUNNING_MUTEX), in the namespace of the user's logon session.
    static QString defaultLockName();

private:
    // Takes the lock; false only when another copy holds it. When the lock cannot be made at
    // all, nothing shows that another copy runs, and the user is not kept from the program.
    bool acquire();
    void release();

    static constexpr std::intptr_t NoHandle = -1;

    QString m_name;
    std::intptr_t m_handle = NoHandle; // the open lock file or the kernel object
    std::optional<bool> m_anotherCopyRuns;
};

} // namespace runtime
