#include "runtime/singleinstance.h"

namespace runtime {

SingleInstanceLock::SingleInstanceLock(const QString &lockName) : m_name(lockName) { }

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

bool SingleInstanceLock::anotherCopyRuns()
{
    if (!m_anotherCopyRuns)
        m_anotherCopyRuns = !acquire();
    return *m_anotherCopyRuns;
}

} // namespace runtime
