#include "support/instancecopies.h"

#include <QProcess>

#include <memory>
#include <vector>

int copiesThatRun(const QList<InstanceCopy> &copies)
{
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const InstanceCopy &copy : copies) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), copy.runtimeFolder);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), copy.platform);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(INSTANCE_CHECK_EXECUTABLE), {});
        processes.push_back(std::move(process));
    }
    auto nextLine = [](QProcess &process) {
        while (!process.canReadLine() && process.waitForReadyRead(20000)) {
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
