#include "extractzip.h"

#include "updaterfunctions.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVector>

#include <system_error>
#include <filesystem>

namespace {

struct StagedFile
{
    QString stagedPath;
    QString target; // relative to the destination folder
    QFile::Permissions permissions;
    bool hasPermissions = false;
};

// The entry's own permissions are only meaningful when the archive recorded them
// (made on a Unix system); executables in an update must stay executable.
bool entryCarriesPermissions(const QuaZipFileInfo64 &info)
{
    const int madeOnUnix = 3;
    return (info.versionCreated >> 8) == madeOnUnix && (info.externalAttr >> 16) != 0;
}

bool copyEntryTo(QuaZipFile &entry, const QuaZipFileInfo64 &info, const QString &path)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        qWarning() << "ExtractZip: cannot stage" << path << out.errorString();
        return false;
    }
    // Read in blocks: a header may claim any size, and the data may not match it.
    QByteArray block(256 * 1024, Qt::Uninitialized);
    quint64 total = 0;
    for (;;) {
        const qint64 n = entry.read(block.data(), block.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        total += quint64(n);
        if (total > info.uncompressedSize || out.write(block.constData(), n) != n)
            return false;
    }
    return total == info.uncompressedSize && out.flush();
}

bool stageEntry(QuaZip &zip, const QString &stagingDir, int index, StagedFile &staged)
{
    QuaZipFileInfo64 info;
    if (!zip.getCurrentFileInfo(&info))
        return false;
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly)) {
        qWarning() << "ExtractZip: cannot open entry" << info.name << entry.getZipError();
        return false;
    }
    staged.stagedPath = stagingDir + QStringLiteral("/%1").arg(index);
    const bool copied = copyEntryTo(entry, info, staged.stagedPath);
    entry.close(); // the checksum is compared here
    if (!copied || entry.getZipError() != UNZ_OK) {
        qWarning() << "ExtractZip: entry" << info.name << "is damaged" << entry.getZipError();
        return false;
    }
    staged.hasPermissions = entryCarriesPermissions(info);
    staged.permissions = info.getPermissions();
    return true;
}

bool install(const StagedFile &staged, const QDir &dest)
{
    const QString target = dest.filePath(staged.target);
    const QString folder = QFileInfo(target).path();
    if (!dest.mkpath(folder)) {
        qWarning() << "ExtractZip: cannot create" << folder;
        return false;
    }
    QFile::Permissions permissions = staged.permissions;
    if (!staged.hasPermissions)
        permissions = QFile::exists(target) ? QFile::permissions(target)
                                            : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                  | QFile::ReadOther;
    QFile::setPermissions(staged.stagedPath, permissions | QFile::ReadOwner | QFile::WriteOwner);
    // rename() replaces the target in one step, also a running program's file here.
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(staged.stagedPath).toStdString(),
                            QFile::encodeName(target).toStdString(), error);
    if (error) {
        qWarning() << "ExtractZip: cannot replace" << target << QString::fromStdString(error.message());
        return false;
    }
    return true;
}

// A staging folder outlives its archive only when an earlier run was killed mid-way; its
// files were never installed, so they can go. One updater runs at a time.
void removeAbandonedStaging(const QDir &dest)
{
    const QStringList leftovers = dest.entryList({QStringLiteral(".zorva-unpack-*")},
                                                 QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &leftover : leftovers)
        QDir(dest.filePath(leftover)).removeRecursively();
}

} // namespace

bool ExtractZip(const QString &zipPath, const QString &destDir)
{
    if (zipPath.isEmpty() || destDir.isEmpty())
        return false;
    QDir dest(destDir);
    if (!dest.exists() && !QDir().mkpath(destDir))
        return false;

    QuaZip zip(zipPath);
    if (!zip.open(QuaZip::mdUnzip)) {
        qWarning() << "ExtractZip: cannot open" << zipPath << zip.getZipError();
        return false;
    }

    // Staged beside the targets, so the final renames stay on one file system.
    removeAbandonedStaging(dest);
    QTemporaryDir staging(dest.filePath(QStringLiteral(".zorva-unpack-XXXXXX")));
    if (!staging.isValid())
        return false;

    QStringList folders;
    QVector<StagedFile> files;
    bool more = zip.goToFirstFile();
    for (int index = 0; more; ++index, more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        const QString path = UpdaterFunctions::safeEntryPath(name);
        if (path.isEmpty()) {
            qWarning() << "ExtractZip: refusing entry" << name << "of" << zipPath;
            return false;
        }
        if (path.endsWith(QLatin1Char('/'))) {
            folders.append(path);
            continue;
        }
        StagedFile staged;
        staged.target = path;
        if (!stageEntry(zip, staging.path(), index, staged))
            return false;
        files.append(staged);
    }
    if (zip.getZipError() != UNZ_OK) {
        qWarning() << "ExtractZip: cannot list" << zipPath << zip.getZipError();
        return false;
    }

    for (const QString &folder : qAsConst(folders)) {
        if (!dest.mkpath(folder))
            return false;
    }
    for (const StagedFile &staged : qAsConst(files)) {
        if (!install(staged, dest))
            return false;
    }
    return true;
}
