#include "runtime/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include <unistd.h>

using runtime::SingleInstanceLock;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void onlyTheFirstCopyRuns();
    void copiesStartedTogetherNeverBothRun_data();
    void copiesStartedTogetherNeverBothRun();
    void copiesForOtherDisplaysAndUsersRun_data();
    void copiesForOtherDisplaysAndUsersRun();
    void killedCopyDoesNotBlockTheNextStart();
    void lockIsPerUserAndDisplay();
    void lockFolderOutsideALoginSessionIsPrivate();

private:
    // Starts copies of the start-up check, lets them all check at once once each is ready, and
    // returns how many would run. Each entry is the runtime folder and platform of one copy.
    static int copiesThatRun(const QList<QPair<QString, QString>> &copies);

    QTemporaryDir m_runtimeFolder;
};

int TestSingleInstance::copiesThatRun(const QList<QPair<QString, QString>> &copies)
{
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const auto &[runtimeFolder, platform] : copies) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(INSTANCE_CHECK_EXECUTABLE), {});
        processes.push_back(std::move(process));
    }
    auto nextLine = [](QProcess &process) {
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        return process.readLine().trimmed();
    };
    for (auto &process : processes) {
        if (nextLine(*process) != "ready")
            return -1;
    }
    for (auto &process : processes)
        process->write("go\n");
    int running = 0;
    for (auto &process : processes) {
        const QByteArray answer = nextLine(*process);
        if (answer != "runs" && answer != "refused")
            return -1;
        running += answer == "runs";
    }
    for (auto &process : processes) {
        process->closeWriteChannel();
        process->waitForFinished();
    }
    return running;
}

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
    const QPair<QString, QString> sameUserAndDisplay{m_runtimeFolder.path(), QStringLiteral("offscreen")};
    for (int time = 1; time <= times; ++time) {
        const int running = copiesThatRun(QList<QPair<QString, QString>>(copies, sameUserAndDisplay));
        QVERIFY2(running == 1, qPrintable(QStringLiteral("%1 copies ran in round %2")
                                              .arg(running).arg(time)));
    }
}

void TestSingleInstance::copiesForOtherDisplaysAndUsersRun_data()
{
    QTest::addColumn<bool>("otherUser");
    QTest::addColumn<QString>("otherPlatform");
    QTest::addColumn<int>("running");
    QTest::newRow("same user, same display") << false << "offscreen" << 1;
    QTest::newRow("other display") << false << "minimal" << 2;
    QTest::newRow("other user") << true << "offscreen" << 2;
}

void TestSingleInstance::copiesForOtherDisplaysAndUsersRun()
{
    QFETCH(bool, otherUser);
    QFETCH(QString, otherPlatform);
    QFETCH(int, running);
    // Each user has a runtime folder of their own.
    QTemporaryDir otherUsersFolder;
    const QString otherFolder = otherUser ? otherUsersFolder.path() : m_runtimeFolder.path();
    QCOMPARE(copiesThatRun({{m_runtimeFolder.path(), QStringLiteral("offscreen")},
                            {otherFolder, otherPlatform}}),
             running);
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
