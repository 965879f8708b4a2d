#include "platform/qt/DesktopOpener.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace platform::qt {

OpenerResult RunOpener(const QString& program, const QStringList& arguments,
                       std::chrono::milliseconds wait) {
    // The application owns the process until it ends, so an opener that outlasts the wait is
    // neither killed nor left unreaped.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    // What the opener says (why nothing opened) reaches the terminal the program runs in.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    process->start();
    if (process->state() != QProcess::NotRunning) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (process->state() != QProcess::NotRunning) {
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return OpenerResult::Opened;
    }
    const bool started = process->error() != QProcess::FailedToStart;
    const bool ended = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    process->deleteLater();
    if (!started) return OpenerResult::NotStarted;
    return ended ? OpenerResult::Opened : OpenerResult::Failed;
}

}  // namespace platform::qt
