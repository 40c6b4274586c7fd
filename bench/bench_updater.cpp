// Throughput of the updater's heavy steps against the usual command-line tools, measured in
// the same run on the same machine, the contenders taking turns in every round so that a
// change in the machine's load hits all of them alike:
//   download: a 100 MB archive from nginx on loopback, DownloadControl vs curl;
//   verify:   what checking that archive's signature adds to its download (hashed while it
//             arrives, as the updater does), and what a separate pass over it would cost;
//   unpack:   a 50 MB archive of 200 files, ExtractZip (staged, flushed, journalled) vs unzip.
// Prints MB/s (medians of the rounds) and ratios (medians of the rounds' ratios).
#include "archivesignature.h"
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

constexpr int rounds = 9;
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

struct Contender
{
    const char *name;
    std::function<bool()> run;
    std::vector<double> seconds;
};

// Runs every contender once per round, `prepare` (untimed) before each run; false when a run failed.
bool race(std::vector<Contender> &contenders, const std::function<void()> &prepare)
{
    for (int round = 0; round < rounds; ++round) {
        for (Contender &contender : contenders) {
            prepare();
            QElapsedTimer clock;
            clock.start();
            if (!contender.run()) {
                std::fprintf(stderr, "%s failed\n", contender.name);
                return false;
            }
            contender.seconds.push_back(double(clock.nsecsElapsed()) / 1e9);
        }
    }
    return true;
}

double rate(const Contender &contender, qint64 bytes)
{
    return double(bytes) / 1e6 / median(contender.seconds);
}

// Median over the rounds of a's time divided by b's.
double timeRatio(const Contender &a, const Contender &b)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < a.seconds.size(); ++i)
        ratios.push_back(a.seconds[i] / b.seconds[i]);
    return median(ratios);
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

    const QString archive = www.filePath(QStringLiteral("1307.zip"));
    if (!writeNoise(archive, downloadBytes, 1, false))
        return 1;
    const QByteArray seed = ArchiveSignature::makeSecretSeed(), key = ArchiveSignature::publicKeyOf(seed);
    const QByteArray signature = ArchiveSignature::sign(1307, ArchiveSignature::sha256OfFile(archive), seed);
    TestHttpServer server(www.path());
    if (!server.start()) {
        std::fprintf(stderr, "nginx: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    const QString url = server.baseUrl() + QStringLiteral("/1307.zip");
    DownloadControl plain, hashing;
    hashing.setHashing(true);
    // The part of the check a learner waits for: from the last byte to the verdict.
    QElapsedTimer sinceLastByte;
    std::vector<double> tailMs;
    qint64 received = 0;
    QObject::connect(&hashing, &DownloadControl::DownReadyRead, [&](int n) {
        if ((received += n) >= downloadBytes)
            sinceLastByte.start();
    });
    std::vector<Contender> downloads{
        {"curl", [&] { return runTool("curl", {"-sf", "-o", "1307.zip", url}); }, {}},
        {"DownloadControl, 1 part", [&] { return downloadWith(plain, url, 1); }, {}},
        {"1 part, signature checked", [&] {
             received = 0;
             const bool good = downloadWith(hashing, url, 1)
                 && ArchiveSignature::verify(1307, hashing.sha256(), signature, key);
             tailMs.push_back(double(sinceLastByte.nsecsElapsed()) / 1e6);
             return good;
         }, {}},
        {"DownloadControl, 4 parts", [&] { return downloadWith(plain, url, 4); }, {}},
        // What the check would cost as a pass of its own over the downloaded archive.
        {"separate check", [&] {
             return ArchiveSignature::verify(1307, ArchiveSignature::sha256OfFile(archive), signature, key);
         }, {}},
    };
    if (!race(downloads, [] { QFile::remove(QStringLiteral("1307.zip")); }))
        return 1;
    QFile::remove(QStringLiteral("1307.zip"));
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
    std::vector<Contender> unpacks{
        {"unzip", [&] { return runTool("unzip", {"-qo", work.filePath("unpack.zip"), "-d", outUnzip}); }, {}},
        {"ExtractZip", [&] { return ExtractZip(work.filePath(QStringLiteral("unpack.zip")), outOurs); }, {}},
    };
    if (!race(unpacks, [&] { QDir(outUnzip).removeRecursively(), QDir(outOurs).removeRecursively(); }))
        return 1;

    const Contender &curl = downloads[0], &onePart = downloads[1], &checked = downloads[2];
    std::printf("download of %lld MB from nginx on loopback (%d rounds, contenders in turn):\n", downloadBytes / 1000000, rounds);
    std::printf("  curl                        %8.1f MB/s\n", rate(curl, downloadBytes));
    for (const Contender *c : std::initializer_list<const Contender *>{&onePart, &checked, &downloads[3]})
        std::printf("  %-27s %8.1f MB/s   speed vs curl %.2f\n", c->name, rate(*c, downloadBytes), timeRatio(curl, *c));
    std::printf("  (target: 1 part >= 0.9 x curl)\n");
    std::printf("signature check of the 100 MB archive:\n");
    std::printf("  added to the download         %+5.1f %% of the download's time (target < 10 %%)\n",
                (timeRatio(checked, onePart) - 1) * 100);
    std::printf("  of which after the last byte  %5.1f ms\n", median(tailMs));
    std::printf("  as a separate pass %6.1f ms = %5.1f %% of the download's time\n", median(downloads[4].seconds) * 1000,
                timeRatio(downloads[4], onePart) * 100);
    std::printf("unpack of %lld MB in %d files (%d rounds):\n", unpackBytes / 1000000, unpackFiles, rounds);
    std::printf("  unzip                       %8.1f MB/s\n", rate(unpacks[0], unpackBytes));
    std::printf("  ExtractZip                  %8.1f MB/s   speed vs unzip %.2f (target >= 0.5)\n",
                rate(unpacks[1], unpackBytes), timeRatio(unpacks[0], unpacks[1]));
    return 0;
}
