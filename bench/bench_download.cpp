// Material download throughput and memory: a 50 MB file fetched from a private nginx on
// loopback by DownloadManager, against curl in the same run, and the peak memory of the
// download against that of holding the whole body in memory before writing it.
//   bench_download [megabytes=50] [runs=3]
// Each measured download runs in a child process of its own, so its peak resident size
// (VmHWM) belongs to that download alone.
#include "downloadmanager.h"
#include "testhttpserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
qint64 statusKilobytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Child: downloads url into ./workspace/ and prints "<seconds> <baseline kB> <peak kB>".
int runChild(const QString &mode, const QUrl &url)
{
    QDir().mkpath(QStringLiteral("workspace"));
    QEventLoop loop;
    const qint64 baseline = statusKilobytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    bool ok = false;
    if (mode == QLatin1String("manager")) {
        DownloadManager manager;
        QObject::connect(&manager, &DownloadManager::finishSig, &loop, [&] {
            ok = true;
            loop.quit();
        });
        manager.download(url);
        loop.exec();
    } else {
        // The body kept in memory until the reply has finished, then written in one piece.
        QNetworkAccessManager manager;
        QNetworkReply *reply = manager.get(QNetworkRequest(url));
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        QFile file(QStringLiteral("workspace/") + url.fileName());
        ok = reply->error() == QNetworkReply::NoError && file.open(QIODevice::WriteOnly)
            && file.write(reply->readAll()) > 0;
        delete reply;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%.4f %lld %lld\n", seconds, baseline, statusKilobytes("VmHWM:"));
    return ok ? 0 : 1;
}

struct Figures
{
    double seconds = 0;
    double peakMegabytes = 0;
};

bool measureChild(const QString &mode, const QString &url, Figures *figures)
{
    QTemporaryDir dir;
    QProcess child;
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--child"), mode, url });
    if (!child.waitForFinished(300000) || child.exitCode() != 0)
        return false;
    const QList<QByteArray> fields
        = child.readAllStandardOutput().trimmed().split('\n').last().split(' ');
    figures->seconds = fields.value(0).toDouble();
    figures->peakMegabytes = (fields.value(2).toLongLong() - fields.value(1).toLongLong()) / 1024.0;
    return true;
}

bool measureCurl(const QString &url, double *seconds)
{
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    const int code = QProcess::execute(QStringLiteral("curl"),
        { QStringLiteral("-sf"), QStringLiteral("-o"), dir.filePath("out"), url });
    *seconds = timer.nsecsElapsed() / 1e9;
    return code == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--child"))
        return runChild(args.at(2), QUrl(args.at(3)));

    const int megabytes = args.size() > 1 ? args.at(1).toInt() : 50;
    const int runs = args.size() > 2 ? qMax(1, args.at(2).toInt()) : 3;
    const qint64 bytes = qint64(megabytes) * 1024 * 1024;

    QTemporaryDir www;
    QDir(www.path()).mkpath(QStringLiteral("materials"));
    {
        QFile big(www.filePath(QStringLiteral("materials/big.mp3")));
        if (!big.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block(1024 * 1024, '\0');
        for (int i = 0; i < megabytes; ++i) {
            for (int j = 0; j < block.size(); ++j)
                block[j] = static_cast<char>((j * 31 + i * 7) & 0xff);
            big.write(block);
        }
    }
    TestHttpServer server(www.path());
    if (!server.start()) {
        std::fprintf(stderr, "nginx: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    const QString url = server.baseUrl() + QStringLiteral("/materials/big.mp3");

    std::vector<double> curlTimes, managerTimes, managerPeaks, memoryTimes, memoryPeaks;
    for (int run = 0; run < runs; ++run) {
        double curlSeconds = 0;
        Figures manager, inMemory;
        if (!measureCurl(url, &curlSeconds)
            || !measureChild(QStringLiteral("manager"), url, &manager)
            || !measureChild(QStringLiteral("memory"), url, &inMemory)) {
            std::fprintf(stderr, "a download failed\n");
            return 1;
        }
        curlTimes.push_back(curlSeconds);
        managerTimes.push_back(manager.seconds);
        managerPeaks.push_back(manager.peakMegabytes);
        memoryTimes.push_back(inMemory.seconds);
        memoryPeaks.push_back(inMemory.peakMegabytes);
    }
    const double mb = bytes / 1048576.0;
    const double curlRate = mb / median(curlTimes);
    const double managerRate = mb / median(managerTimes);
    std::printf("file: %.0f MB, %d runs, medians\n", mb, runs);
    std::printf("curl (process start included):   %8.1f MB/s\n", curlRate);
    std::printf("DownloadManager (to disk):       %8.1f MB/s  ratio to curl %.2f\n", managerRate,
        managerRate / curlRate);
    std::printf("whole body in memory, then write:%8.1f MB/s  ratio to curl %.2f\n",
        mb / median(memoryTimes), mb / median(memoryTimes) / curlRate);
    std::printf("peak memory above start, DownloadManager:   %7.1f MB (%.2f x file)\n",
        median(managerPeaks), median(managerPeaks) / mb);
    std::printf("peak memory above start, body in memory:    %7.1f MB (%.2f x file)\n",
        median(memoryPeaks), median(memoryPeaks) / mb);
    return 0;
}
