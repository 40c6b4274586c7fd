// The updater unpacks archives fetched from the network over the installation. Whatever
// an archive holds, nothing may be written outside the installation folder, and the
// staging folder used while unpacking must be gone afterwards.
#include "fuzzapp.h"

#include "extractzip.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// <top>/root/{install, sentinel, update.zip}: an entry that climbs one or two levels out
// of install lands in root or top, one written relative to the working directory in
// sentinel (the working directory while ExtractZip runs; libFuzzer's own relative paths
// need the original one the rest of the time).
struct Layout
{
    QTemporaryDir top;
    QString root;
    QString install;
    QString sentinel;
    QString archive;

    Layout()
    {
        if (!top.isValid())
            fuzzFailure("cannot make a temporary folder");
        root = top.filePath(QStringLiteral("root"));
        install = root + QStringLiteral("/install");
        sentinel = root + QStringLiteral("/sentinel");
        archive = root + QStringLiteral("/update.zip");
        if (!QDir().mkpath(sentinel))
            fuzzFailure("cannot prepare the sentinel folder");
    }
};

Layout &layout()
{
    static Layout *l = [] {
        fuzzCoreApplication();
        return new Layout;
    }();
    return *l;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

bool writeArchive(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Everything below install is a plain file or folder: no links that could point out.
void checkInstallFolder(const QString &install)
{
    QDirIterator it(install, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        FUZZ_CHECK(!info.isSymLink());
        // The staging folder is removed whether the archive was taken or refused.
        FUZZ_CHECK(!info.fileName().startsWith(QLatin1String(".zorva-unpack-")));
        FUZZ_CHECK(info.absoluteFilePath().startsWith(install + QLatin1Char('/')));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Layout &l = layout();
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    QDir(l.install).removeRecursively();
    FUZZ_CHECK(!QFileInfo::exists(l.install));
    FUZZ_CHECK(writeArchive(l.archive, bytes));

    const QString fuzzerFolder = QDir::currentPath();
    FUZZ_CHECK(QDir::setCurrent(l.sentinel));
    ExtractZip(l.archive, l.install);
    FUZZ_CHECK(QDir::setCurrent(fuzzerFolder));

    checkInstallFolder(l.install);
    FUZZ_CHECK(entriesOf(l.sentinel).isEmpty());
    const QSet<QString> expectedRoot{QStringLiteral("install"), QStringLiteral("sentinel"),
                                     QStringLiteral("update.zip")};
    const QStringList rootEntries = entriesOf(l.root);
    FUZZ_CHECK(QSet<QString>(rootEntries.begin(), rootEntries.end()) == expectedRoot);
    FUZZ_CHECK(entriesOf(l.top.path()) == QStringList{QStringLiteral("root")});
    FUZZ_CHECK(QFileInfo(l.archive).size() == bytes.size());
    return 0;
}
