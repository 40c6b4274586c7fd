// Start-up of the trainer: time from launch until its main window is mapped on the display,
// against a minimal Qt Widgets program launched and watched the same way in the same run, and
// the trainer's peak memory with the sample installation. Run under scripts/test-env.sh (it
// needs an X display and xwininfo):
//   scripts/test-env.sh <build>/bench/bench_startup <build>/stage [runs]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString minimalTitle = QStringLiteral("bench minimal window");
const QString trainerTitle = QStringLiteral("ZORVA v1306");
constexpr int pollMs = 20;
constexpr int giveUpMs = 60000;

int runMinimalWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(minimalTitle);
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const auto entries = QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

bool windowMapped(const QString &title)
{
    QProcess probe;
    probe.start(QStringLiteral("xwininfo"), {QStringLiteral("-name"), title});
    if (!probe.waitForFinished(5000) || probe.exitCode() != 0)
        return false;
    return probe.readAllStandardOutput().contains("IsViewable");
}

long peakKilobytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

struct Launch
{
    double shownMs = -1;
    long peakKb = -1;
    QString failure;
};

// Starts the program, waits until its window is viewable, lets it settle a moment so the peak
// includes the work right after showing, and ends it.
Launch launchAndWatch(const QString &program, const QStringList &arguments, const QString &workingDir,
                      const QString &title)
{
    QProcess process;
    process.setWorkingDirectory(workingDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORVA_UPDATE_URL"), QStringLiteral("http://127.0.0.1:9"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Nobody reads the output while polling: it must not fill a pipe and stall the program.
    process.setStandardOutputFile(QProcess::nullDevice());

    Launch result;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        result.failure = process.errorString();
        return result;
    }
    while (clock.elapsed() < giveUpMs) {
        if (windowMapped(title)) {
            result.shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            break;
        }
        // Also the pause between two looks: a program that ends early ends the wait.
        if (process.waitForFinished(pollMs))
            break;
    }
    if (result.shownMs < 0) {
        result.failure = process.state() == QProcess::Running
                             ? QStringLiteral("no window within %1 ms").arg(giveUpMs)
                             : QStringLiteral("ended with status %1 before showing").arg(process.exitCode());
    }
    QThread::msleep(500);
    result.peakKb = peakKilobytes(process.processId());
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return result;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--minimal-window")
        return runMinimalWindow(argc, argv);

    // Holding a display connection for the whole run keeps Xvfb from resetting whenever its
    // last client leaves, which would refuse the next program's connection.
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        out << "usage: bench_startup <stage folder> [runs]\n";
        return 2;
    }
    const QString stage = QDir(args.at(1)).absolutePath();
    const int runs = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 7;

    QTemporaryDir installation;
    if (!installation.isValid() || !copyTree(stage, installation.path())) {
        out << "cannot copy the installation from " << stage << "\n";
        return 1;
    }
    const QString trainer = installation.path() + QStringLiteral("/ZORVA");
    const QString self = QCoreApplication::applicationFilePath();

    std::vector<double> trainerMs;
    std::vector<double> minimalMs;
    long trainerPeak = 0;
    long minimalPeak = 0;
    int failedRuns = 0;
    // Alternating the two spreads any disturbance on the machine over both.
    for (int run = 0; run < runs; ++run) {
        const Launch reference = launchAndWatch(self, {QStringLiteral("--minimal-window")}, installation.path(), minimalTitle);
        const Launch launched = launchAndWatch(trainer, {}, installation.path(), trainerTitle);
        if (reference.shownMs < 0 || launched.shownMs < 0) {
            out << "run " << run + 1 << " left out: minimal program: " << reference.failure
                << "; trainer: " << launched.failure << "\n";
            ++failedRuns;
            continue;
        }
        minimalMs.push_back(reference.shownMs);
        trainerMs.push_back(launched.shownMs);
        minimalPeak = std::max(minimalPeak, reference.peakKb);
        trainerPeak = std::max(trainerPeak, launched.peakKb);
        out << QStringLiteral("run %1: minimal %2 ms, trainer %3 ms\n")
                   .arg(run + 1)
                   .arg(reference.shownMs, 0, 'f', 1)
                   .arg(launched.shownMs, 0, 'f', 1);
        out.flush();
    }

    if (trainerMs.empty()) {
        out << "no run showed both windows\n";
        return 1;
    }
    const double trainerMedian = median(trainerMs);
    const double minimalMedian = median(minimalMs);
    out << QStringLiteral("launch to window shown, median of %1 runs: trainer %2 ms, minimal Qt Widgets "
                          "program %3 ms, ratio %4 (target under 2)\n")
               .arg(static_cast<int>(trainerMs.size()))
               .arg(trainerMedian, 0, 'f', 1)
               .arg(minimalMedian, 0, 'f', 1)
               .arg(trainerMedian / minimalMedian, 0, 'f', 2);
    out << QStringLiteral("peak memory (VmHWM) shortly after showing: trainer %1 MB, minimal program %2 MB\n")
               .arg(static_cast<double>(trainerPeak) / 1024.0, 0, 'f', 1)
               .arg(static_cast<double>(minimalPeak) / 1024.0, 0, 'f', 1);
    if (failedRuns > 0)
        out << failedRuns << " of " << runs << " runs left out (see above)\n";
    return 0;
}
