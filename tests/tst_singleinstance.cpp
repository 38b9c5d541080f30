#include "runtime/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using runtime::SingleInstanceLock;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void onlyTheFirstCopyRuns();
    void killedCopyDoesNotBlockTheNextStart();
    void lockIsPerUserAndDisplay();
    void lockFolderOutsideALoginSessionIsPrivate();

private:
    QTemporaryDir m_runtimeFolder;
};

void TestSingleInstance::init()
{
    QVERIFY(m_runtimeFolder.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtimeFolder.path().toLocal8Bit());
}

void TestSingleInstance::onlyTheFirstCopyRuns()
{
    const QString path = SingleInstanceLock::defaultLockFilePath();
    auto first = std::make_unique<SingleInstanceLock>(path);
    QVERIFY(!first->anotherCopyRuns());
    SingleInstanceLock second(path);
    QVERIFY(second.anotherCopyRuns());
    QVERIFY(!first->anotherCopyRuns()); // the answer is kept for the life of the copy

    first.reset(); // the first copy ends
    SingleInstanceLock third(path);
    QVERIFY(!third.anotherCopyRuns());
}

void TestSingleInstance::killedCopyDoesNotBlockTheNextStart()
{
    const QString path = SingleInstanceLock::defaultLockFilePath();
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeFolder.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TALLYVEX_EXECUTABLE), {});
    QVERIFY(program.waitForStarted());
    // A second start is refused once the program has taken its lock.
    QTRY_VERIFY_WITH_TIMEOUT(SingleInstanceLock(path).anotherCopyRuns(), 10000);

    program.kill();
    QVERIFY(program.waitForFinished());
    QVERIFY(QFileInfo::exists(path)); // the file is left behind, its lock gone with the process
    QVERIFY(!SingleInstanceLock(path).anotherCopyRuns());
}

void TestSingleInstance::lockIsPerUserAndDisplay()
{
    const QString path = SingleInstanceLock::defaultLockFilePath();
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(m_runtimeFolder.path()).absoluteFilePath());
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("tallyvex-offscreen.lock"));
}

void TestSingleInstance::lockFolderOutsideALoginSessionIsPrivate()
{
    qunsetenv("XDG_RUNTIME_DIR");
    const QFileInfo folder(QFileInfo(SingleInstanceLock::defaultLockFilePath()).absolutePath());
    QCOMPARE(folder.fileName(), QStringLiteral("tallyvex-%1").arg(getuid()));
    QCOMPARE(folder.ownerId(), getuid());
    QCOMPARE(folder.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther
                                     | QFile::WriteOther),
             QFile::Permissions());
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
