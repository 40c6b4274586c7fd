// Throughput of the updater's two heavy steps against the usual command-line tools,
// measured in the same run on the same machine:
//   download: a 100 MB archive from nginx on loopback, DownloadControl vs curl;
//   unpack:   a 50 MB archive of 200 files, ExtractZip vs unzip.
// Prints MB/s (medians of several rounds) and the ratios.
#include "downloadcontrol.h"
#include "extractzip.h"

#include "testhttpserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int rounds = 5;
constexpr qint64 downloadBytes = 100 * 1000 * 1000;
constexpr int unpackFiles = 200;
constexpr int unpackFileBytes = 250 * 1000;

void fill(QByteArray &bytes, quint32 seed, bool compressible)
{
    quint32 state = seed * 2654435761u + 1;
    for (int i = 0; i < bytes.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        // Half of each compressible file is a narrow alphabet, so deflate has work.
        bytes[i] = compressible && (i / 4096) % 2 ? char('a' + (state >> 28)) : char(state >> 24);
    }
}

bool writeNoise(const QString &path, qint64 size, quint32 seed, bool compressible)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 written = 0; written < size; written += block.size()) {
        fill(block, seed++, compressible);
        const qint64 n = qMin<qint64>(block.size(), size - written);
        if (file.write(block.constData(), n) != n)
            return false;
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// MB/s of `bytes` moved by `run`, median over the rounds; `prepare` runs untimed.
double throughput(qint64 bytes, const std::function<void()> &prepare, const std::function<bool()> &run)
{
    std::vector<double> rates;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        if (!run()) {
            std::fprintf(stderr, "a run failed\n");
            return 0;
        }
        rates.push_back(double(bytes) / 1e6 / (double(clock.nsecsElapsed()) / 1e9));
    }
    return median(rates);
}

bool runTool(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

bool downloadWith(DownloadControl &control, const QString &url, int parts)
{
    QEventLoop loop;
    QObject::connect(&control, &DownloadControl::FileDownloadFinished, &loop, &QEventLoop::quit);
    control.StartFileDownload(url, parts);
    loop.exec();
    return control.succeeded();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The downloader's per-chunk diagnostics would dominate the output.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QTemporaryDir www, work;
    if (!www.isValid() || !work.isValid() || !QDir::setCurrent(work.path()))
        return 1;

    if (!writeNoise(www.filePath(QStringLiteral("archive.zip")), downloadBytes, 1, false))
        return 1;
    TestHttpServer server(www.path());
    if (!server.start()) {
        std::fprintf(stderr, "nginx: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    const QString url = server.baseUrl() + QStringLiteral("/archive.zip");
    const auto removeDownloads = [] {
        QFile::remove(QStringLiteral("archive.zip"));
        QFile::remove(QStringLiteral("curl.bin"));
    };
    DownloadControl control;
    const double curl = throughput(downloadBytes, removeDownloads, [&] {
        return runTool(QStringLiteral("curl"), {QStringLiteral("-sf"), QStringLiteral("-o"),
                                                QStringLiteral("curl.bin"), url});
    });
    const double onePart = throughput(downloadBytes, removeDownloads, [&] { return downloadWith(control, url, 1); });
    const double fourParts = throughput(downloadBytes, removeDownloads, [&] { return downloadWith(control, url, 4); });
    removeDownloads();
    server.stop();

    // The unpack archive: 200 files in a few folders, made with the zip tool.
    QDir(work.path()).mkpath(QStringLiteral("content/skin/default"));
    for (int i = 0; i < unpackFiles; ++i) {
        const QString folder = i % 3 == 0 ? QStringLiteral("content/skin/default/") : QStringLiteral("content/");
        if (!writeNoise(work.filePath(folder + QStringLiteral("f%1.bin").arg(i)), unpackFileBytes, quint32(i), true))
            return 1;
    }
    QProcess zip;
    zip.setWorkingDirectory(work.filePath(QStringLiteral("content")));
    zip.start(QStringLiteral("zip"), {QStringLiteral("-qr"), work.filePath(QStringLiteral("unpack.zip")), QStringLiteral(".")});
    if (!zip.waitForFinished(300000) || zip.exitCode() != 0)
        return 1;
    const qint64 unpackBytes = qint64(unpackFiles) * unpackFileBytes;
    const QString outUnzip = work.filePath(QStringLiteral("out-unzip"));
    const QString outOurs = work.filePath(QStringLiteral("out-extract"));
    const auto clearOutputs = [&] {
        QDir(outUnzip).removeRecursively();
        QDir(outOurs).removeRecursively();
    };
    const double unzip = throughput(unpackBytes, clearOutputs, [&] {
        return runTool(QStringLiteral("unzip"), {QStringLiteral("-qo"), work.filePath(QStringLiteral("unpack.zip")),
                                                 QStringLiteral("-d"), outUnzip});
    });
    const double extract = throughput(unpackBytes, clearOutputs, [&] {
        return ExtractZip(work.filePath(QStringLiteral("unpack.zip")), outOurs);
    });

    std::printf("download of %lld MB from nginx on loopback (median of %d):\n", downloadBytes / 1000000, rounds);
    std::printf("  curl                       %8.1f MB/s\n", curl);
    std::printf("  DownloadControl, 1 part    %8.1f MB/s   ratio %.2f (target >= 0.7)\n", onePart, onePart / curl);
    std::printf("  DownloadControl, 4 parts   %8.1f MB/s   ratio %.2f\n", fourParts, fourParts / curl);
    std::printf("unpack of %lld MB in %d files (median of %d):\n", unpackBytes / 1000000, unpackFiles, rounds);
    std::printf("  unzip                      %8.1f MB/s\n", unzip);
    std::printf("  ExtractZip                 %8.1f MB/s   ratio %.2f (target >= 0.5)\n", extract, extract / unzip);
    return 0;
}
