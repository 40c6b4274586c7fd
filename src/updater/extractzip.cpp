#include "extractzip.h"

#include "installtransaction.h"
#include "updaterfunctions.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <QDebug>
#include <QDir>
#include <QFile>

namespace {

// The entry's own permissions are only meaningful when the archive recorded them
// (made on a Unix system).
bool entryCarriesPermissions(const QuaZipFileInfo64 &info)
{
    const int madeOnUnix = 3;
    return (info.versionCreated >> 8) == madeOnUnix && (info.externalAttr >> 16) != 0;
}

QFile::Permissions permissionsFor(
    const QuaZipFileInfo64 &info, const QString &target, const QString &relativeTarget)
{
    QFile::Permissions permissions
        = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (entryCarriesPermissions(info))
        permissions = info.getPermissions();
    else if (QFile::exists(target))
        permissions = QFile::permissions(target);
    // Nobody else may change the programs that the learner runs.
    permissions &= ~(QFile::WriteGroup | QFile::WriteOther);
    permissions |= QFile::ReadOwner | QFile::WriteOwner;
    if (InstallTransaction::isProgram(relativeTarget))
        permissions |= QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
            | QFile::ExeOther;
    return permissions;
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

bool stageEntry(QuaZip &zip, const QString &stagedPath, const QDir &dest, const QString &target)
{
    QuaZipFileInfo64 info;
    if (!zip.getCurrentFileInfo(&info))
        return false;
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly)) {
        qWarning() << "ExtractZip: cannot open entry" << info.name << entry.getZipError();
        return false;
    }
    const bool copied = copyEntryTo(entry, info, stagedPath);
    entry.close(); // the checksum is compared here
    if (!copied || entry.getZipError() != UNZ_OK) {
        qWarning() << "ExtractZip: entry" << info.name << "is damaged" << entry.getZipError();
        return false;
    }
    return QFile::setPermissions(stagedPath, permissionsFor(info, dest.filePath(target), target));
}

} // namespace

bool ExtractZip(const QString &zipPath, const QString &destDir)
{
    if (zipPath.isEmpty() || destDir.isEmpty() || !QDir().mkpath(destDir))
        return false;
    QuaZip zip(zipPath);
    if (!zip.open(QuaZip::mdUnzip)) {
        qWarning() << "ExtractZip: cannot open" << zipPath << zip.getZipError();
        return false;
    }
    InstallTransaction install(destDir);
    if (!install.begin())
        return false;
    const QDir dest(destDir);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        const QString path = UpdaterFunctions::safeEntryPath(name);
        // The install's own journal, lock and staging folders are not the archive's to write.
        if (path.isEmpty() || path.startsWith(QLatin1String(".zorva-"))) {
            qWarning() << "ExtractZip: refusing entry" << name << "of" << zipPath;
            return false;
        }
        if (path.endsWith(QLatin1Char('/')))
            install.addFolder(path.chopped(1));
        else if (!stageEntry(zip, install.addFile(path), dest, path))
            return false;
    }
    if (zip.getZipError() != UNZ_OK) {
        qWarning() << "ExtractZip: cannot list" << zipPath << zip.getZipError();
        return false;
    }
    return install.commit();
}
