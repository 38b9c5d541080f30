// The lock of the running copy on Windows: a named kernel object in the session's namespace,
// one per session, gone with the last copy that holds it.
#include "runtime/singleinstance.h"

#include <QTest>

#include <qt_windows.h>

using runtime::SingleInstanceLock;

class TestSingleInstanceWin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lockIsAnObjectOfTheSession();
    void lockGoesWithTheCopy();
};

void TestSingleInstanceWin::lockIsAnObjectOfTheSession()
{
    QCOMPARE(SingleInstanceLock::defaultLockName(), QStringLiteral("Local\\Tallyvex-windows"));
}

void TestSingleInstanceWin::lockGoesWithTheCopy()
{
    const QString name = SingleInstanceLock::defaultLockName();
    const auto objectExists = [&] {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
        if (mutex)
            CloseHandle(mutex);
        return mutex != nullptr;
    };
    {
        SingleInstanceLock copy(name);
        QVERIFY(!copy.anotherCopyRuns());
        QVERIFY(objectExists());
    }
    QVERIFY(!objectExists());
}

QTEST_MAIN(TestSingleInstanceWin)
#include "tst_singleinstance_win.moc"
