// The lock of the running copy on Unix: a file per user and desktop session in the user's own
// runtime folder, left in place when the copy ends.
#include "runtime/desktopsession_unix.h"
#include "runtime/singleinstance.h"
#include "support/instancecopies.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using runtime::SingleInstanceLock;

Q_DECLARE_METATYPE(InstanceCopy)

class TestSingleInstanceUnix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void copiesForOtherUsersRun();
    void copiesInOtherSessionsRun_data();
    void copiesInOtherSessionsRun();
    void lockIsPerUserAndSession();
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

void TestSingleInstanceUnix::copiesInOtherSessionsRun_data()
{
    QTest::addColumn<InstanceCopy>("other");
    QTest::addColumn<int>("running");
    // The first copy runs on Xwayland in the session of Wayland display wayland-1, X display :1.
    const QString folder = m_runtimeFolder.path();
    const auto offscreen = QStringLiteral("offscreen");
    QTest::newRow("Xwayland, same session")
            << InstanceCopy{ folder, offscreen, QStringLiteral(":1.0"),
                             QStringLiteral("wayland-1") }
            << 1;
    // Another platform stands in for Wayland: the lock must not depend on it.
    QTest::newRow("Wayland, same session") << InstanceCopy{ folder, QStringLiteral("minimal"),
                                                            QString(), QStringLiteral("wayland-1") }
                                           << 1;
    QTest::newRow("another Wayland session")
            << InstanceCopy{ folder, offscreen, QStringLiteral(":2"), QStringLiteral("wayland-2") }
            << 2;
    QTest::newRow("an X session") << InstanceCopy{ folder, offscreen, QStringLiteral(":1") } << 2;
    QTest::newRow("another X session")
            << InstanceCopy{ folder, offscreen, QStringLiteral(":2") } << 2;
}

void TestSingleInstanceUnix::copiesInOtherSessionsRun()
{
    QFETCH(InstanceCopy, other);
    QFETCH(int, running);
    const InstanceCopy first{ m_runtimeFolder.path(), QStringLiteral("offscreen"),
                              QStringLiteral(":1"), QStringLiteral("wayland-1") };
    QCOMPARE(copiesThatRun({ first, other }), running);
}

void TestSingleInstanceUnix::lockIsPerUserAndSession()
{
    const QString path = SingleInstanceLock::defaultLockName();
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(m_runtimeFolder.path()).absoluteFilePath());
    QVERIFY2(QFileInfo(path).fileName().startsWith(u"tallyvex-"), qPrintable(path));
    // Only letters, digits, "-" and "_" come from the environment: a display named with a path
    // stays in the runtime folder.
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("/run/user/0/../wl.0"));
    QCOMPARE(runtime::desktopSessionName(environment),
             QStringLiteral("wayland-_run_user_0____wl_0"));
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
