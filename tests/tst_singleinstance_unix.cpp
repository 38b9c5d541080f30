// The lock of the running copy on Unix: a file per user and display in the user's own runtime
// folder, left in place when the copy ends.
#include "runtime/singleinstance.h"
#include "support/instancecopies.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using runtime::SingleInstanceLock;

class TestSingleInstanceUnix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void copiesForOtherUsersRun();
    void lockIsPerUserAndDisplay();
    void lockFileOutlivesTheCopy();
    void lockFolderOutsideALoginSessionIsPrivate();

private:
    QTemporaryDir m_runtimeFolder;
};

void TestSingleInstanceUnix::init()
{
    QVERIFY(m_runtimeFolder.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtimeFolder.path().toLocal8Bit());
}

void TestSingleInstanceUnix::copiesForOtherUsersRun()
{
    // Each user has a runtime folder of their own.
    QTemporaryDir otherUsersFolder;
    QCOMPARE(copiesThatRun({ { m_runtimeFolder.path(), QStringLiteral("offscreen") },
                             { otherUsersFolder.path(), QStringLiteral("offscreen") } }),
             2);
}

void TestSingleInstanceUnix::lockIsPerUserAndDisplay()
{
    const QString path = SingleInstanceLock::defaultLockName();
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(m_runtimeFolder.path()).absoluteFilePath());
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("tallyvex-offscreen.lock"));
}

void TestSingleInstanceUnix::lockFileOutlivesTheCopy()
{
    // Removing the file could let a copy that has it open and one that makes it anew both hold
    // a lock; only the lock goes with the copy.
    const QString path = SingleInstanceLock::defaultLockName();
    {
        SingleInstanceLock copy(path);
        QVERIFY(!copy.anotherCopyRuns());
    }
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(!SingleInstanceLock(path).anotherCopyRuns());
}

void TestSingleInstanceUnix::lockFolderOutsideALoginSessionIsPrivate()
{
    qunsetenv("XDG_RUNTIME_DIR");
    const QFileInfo folder(QFileInfo(SingleInstanceLock::defaultLockName()).absolutePath());
    QCOMPARE(folder.fileName(), QStringLiteral("tallyvex-%1").arg(getuid()));
    QCOMPARE(folder.ownerId(), getuid());
    QCOMPARE(
            folder.permissions()
                    & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
            QFile::Permissions());
}

QTEST_MAIN(TestSingleInstanceUnix)
#include "tst_singleinstance_unix.moc"
