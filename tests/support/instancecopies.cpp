#include "support/instancecopies.h"

#include <QDebug>
#include <QProcess>

#include <memory>
#include <utility>
#include <vector>

namespace {

QByteArray nextLine(QProcess &process)
{
    while (!process.canReadLine() && process.waitForReadyRead(20000)) { }
    return process.readLine().trimmed();
}

// Why a copy gave no answer, for the failure's message.
void reportSilentCopy(std::size_t copy, const QProcess &process, const char *awaited)
{
    qWarning().nospace() << "copy " << copy + 1 << " gave no \"" << awaited
                         << "\": " << process.state() << ", " << process.error() << " ("
                         << process.errorString() << "), exit code " << process.exitCode();
}

} // namespace

int copiesThatRun(const QList<InstanceCopy> &copies)
{
    // The copies start one at a time, each once the one before is ready: Wine has failed to
    // start programs started together. The race under test is the check itself, which they all
    // make at once, at "go".
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const InstanceCopy &copy : copies) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), copy.runtimeFolder);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), copy.platform);
        for (const auto &[variable, value] :
             { std::pair{ "DISPLAY", copy.xDisplay },
               std::pair{ "WAYLAND_DISPLAY", copy.waylandDisplay } }) {
            environment.remove(QLatin1StringView(variable));
            if (!value.isEmpty())
                environment.insert(QLatin1StringView(variable), value);
        }
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(INSTANCE_CHECK_EXECUTABLE), {});
        if (nextLine(*process) != "ready") {
            reportSilentCopy(processes.size(), *process, "ready");
            return -1;
        }
        processes.push_back(std::move(process));
    }
    // Every "go" is out before any answer is read: QProcess may hold a write until the process
    // is waited for, and then the copies would check one after another.
    for (auto &process : processes)
        process->write("go\n");
    for (auto &process : processes)
        process->waitForBytesWritten();
    int running = 0;
    for (std::size_t copy = 0; copy < processes.size(); ++copy) {
        const QByteArray answer = nextLine(*processes[copy]);
        if (answer != "runs" && answer != "refused") {
            reportSilentCopy(copy, *processes[copy], "runs\" or \"refused");
            return -1;
        }
        running += answer == "runs";
    }
    for (auto &process : processes) {
        process->closeWriteChannel();
        process->waitForFinished();
    }
    return running;
}
