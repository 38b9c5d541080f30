// The lock of the running copy as every platform has it: one copy at a time, copies started
// together, a killed copy. The platform's own side is in
// tst_singleinstance_<platform>.cpp.
#include "runtime/singleinstance.h"
#include "support/instancecopies.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using runtime::SingleInstanceLock;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void onlyTheFirstCopyRuns();
    void copiesStartedTogetherNeverBothRun_data();
    void copiesStartedTogetherNeverBothRun();
    void killedCopyDoesNotBlockTheNextStart();

private:
    QTemporaryDir m_runtimeFolder;
};

void TestSingleInstance::init()
{
    // Where the lock is a file, it goes into a runtime folder of this test's own.
    QVERIFY(m_runtimeFolder.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtimeFolder.path().toLocal8Bit());
}

void TestSingleInstance::onlyTheFirstCopyRuns()
{
    const QString name = SingleInstanceLock::defaultLockName();
    auto first = std::make_unique<SingleInstanceLock>(name);
    QVERIFY(!first->anotherCopyRuns());
    SingleInstanceLock second(name);
    QVERIFY(second.anotherCopyRuns());
    QVERIFY(!first->anotherCopyRuns()); // the answer is kept for the life of the copy

    first.reset(); // the first copy ends
    SingleInstanceLock third(name);
    QVERIFY(!third.anotherCopyRuns());
}

void TestSingleInstance::copiesStartedTogetherNeverBothRun_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("times");
    QTest::newRow("2 copies") << 2 << 30;
    QTest::newRow("5 copies") << 5 << 15;
}

void TestSingleInstance::copiesStartedTogetherNeverBothRun()
{
    QFETCH(int, copies);
    QFETCH(int, times);
    const InstanceCopy sameUserAndDisplay{ m_runtimeFolder.path(), QStringLiteral("offscreen") };
    for (int time = 1; time <= times; ++time) {
        const int running = copiesThatRun(QList<InstanceCopy>(copies, sameUserAndDisplay));
        QVERIFY2(running == 1,
                 qPrintable(QStringLiteral("%1 copies ran in round %2").arg(running).arg(time)));
    }
}

void TestSingleInstance::killedCopyDoesNotBlockTheNextStart()
{
    const QString name = SingleInstanceLock::defaultLockName();
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeFolder.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TALLYVEX_EXECUTABLE), {});
    QVERIFY(program.waitForStarted());
    // A second start is refused once the program has taken its lock.
    QTRY_VERIFY_WITH_TIMEOUT(SingleInstanceLock(name).anotherCopyRuns(), 20000);

    // No chance to clean up: SIGKILL on Unix, TerminateProcess (taskkill /f) on Windows.
    program.kill();
    QVERIFY(program.waitForFinished());
    QVERIFY(!SingleInstanceLock(name).anotherCopyRuns());
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
