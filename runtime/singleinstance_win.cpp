// The lock of the running copy on Windows: a named mutex in the session's namespace. The system
// closes its handle with the process however it ends, "taskkill /f" included, and the object
// goes with the last handle; creating it is one atomic step, so of two copies started together
// exactly one creates it.
#include "runtime/singleinstance.h"

#include <qt_windows.h>

namespace runtime {

QString SingleInstanceLock::defaultLockName()
{
    // In the namespace of the user's logon session: other sessions do not see it.
    return QStringLiteral(TALLYVEX_RUNNING_MUTEX);
}

bool SingleInstanceLock::acquire()
{
    if (m_name.isEmpty())
        return true;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(m_name.utf16()));
    if (!mutex)
        return GetLastError() != ERROR_ACCESS_DENIED; // another user's object of that name
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(mutex);
    return true;
}

void SingleInstanceLock::release()
{
    if (m_handle != NoHandle)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = NoHandle;
}

} // namespace runtime
