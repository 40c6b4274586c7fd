#include "installtransaction.h"

#include "appupdate.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString journalName = QStringLiteral(".zorva-install-journal");
const QString lockName = QStringLiteral(".zorva-install.lock");
const QString stagingPrefix = QStringLiteral(".zorva-unpack-");

QString newPath(const QString &staging, int id)
{
    return staging + QStringLiteral("/new/") + QString::number(id);
}

QString oldPath(const QString &staging, int id)
{
    return staging + QStringLiteral("/old/") + QString::number(id);
}

// Makes a file's content, or a folder's entries, survive a power loss.
bool syncToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// rename() replaces the target in one step, a running program's file included.
bool moveOver(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool existsOrDangles(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString parentOf(const QString &relativePath)
{
    const int slash = relativePath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : relativePath.left(slash);
}

// A journal is ours, but it is read back from disk: nothing in it may reach outside.
bool staysInside(const QString &relativePath)
{
    return !relativePath.isEmpty() && !QDir::isAbsolutePath(relativePath)
        && !relativePath.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

// A staging folder outlives its install only when a run was killed before the journal was
// written; nothing of it was installed, so it can go.
void removeAbandonedStaging(const QString &dir)
{
    const QStringList leftovers = QDir(dir).entryList(
        { stagingPrefix + QLatin1Char('*') }, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &leftover : leftovers)
        QDir(dir + QLatin1Char('/') + leftover).removeRecursively();
}

// Test hook: ZORVA_UPDATE_STOP_AFTER_FILES=k kills the process after it has swapped k files,
// as a crash or power loss would, so that tests can check what the next start makes of it.
void stopHereIfAsked(int swapped)
{
    static const int stopAfter = qEnvironmentVariableIntValue("ZORVA_UPDATE_STOP_AFTER_FILES");
    if (stopAfter > 0 && swapped == stopAfter)
        ::kill(::getpid(), SIGKILL);
}

int swapRank(const QString &target)
{
    if (target == AppUpdate::executableName(QStringLiteral("ZORVA")))
        return 2;
    return InstallTransaction::isProgram(target) ? 1 : 0;
}

} // namespace

InstallTransaction::InstallTransaction(const QString &installDir)
    : m_dir(QDir(installDir).absolutePath())
{
}

InstallTransaction::~InstallTransaction()
{
    if (m_journalWritten && !m_finished) {
        if (!rollBack(m_dir, m_staging, m_files, m_createdFolders))
            return; // journal and backups stay for the next start to try again
        QFile::remove(m_dir + QLatin1Char('/') + journalName);
        syncToDisk(m_dir);
    }
    if (!m_staging.isEmpty())
        QDir(m_staging).removeRecursively();
}

bool InstallTransaction::isProgram(const QString &relativeTarget)
{
    return relativeTarget == AppUpdate::executableName(QStringLiteral("ZORVA"))
        || relativeTarget == AppUpdate::executableName(QStringLiteral("update"));
}

bool InstallTransaction::fail(const QString &error)
{
    m_error = error;
    qWarning() << "Install into" << m_dir << "failed:" << error;
    return false;
}

bool InstallTransaction::begin()
{
    if (!QDir().mkpath(m_dir))
        return fail(QStringLiteral("cannot create the folder"));
    m_lock = std::make_unique<QLockFile>(m_dir + QLatin1Char('/') + lockName);
    m_lock->setStaleLockTime(0); // stale only when its process is gone
    if (!m_lock->tryLock(0))
        return fail(QStringLiteral("another install is running"));
    if (!recoverLocked(m_dir))
        return fail(QStringLiteral("an interrupted install could not be undone"));
    QTemporaryDir staging(m_dir + QLatin1Char('/') + stagingPrefix + QStringLiteral("XXXXXX"));
    staging.setAutoRemove(false);
    if (!staging.isValid())
        return fail(QStringLiteral("cannot create a staging folder"));
    m_staging = staging.path();
    if (!QDir(m_staging).mkdir(QStringLiteral("new"))
        || !QDir(m_staging).mkdir(QStringLiteral("old")))
        return fail(QStringLiteral("cannot prepare the staging folder"));
    return true;
}

QString InstallTransaction::addFile(const QString &relativeTarget)
{
    File file;
    file.target = relativeTarget;
    file.id = m_files.size();
    m_files.append(file);
    return newPath(m_staging, file.id);
}

void InstallTransaction::addFolder(const QString &relativeFolder)
{
    m_folders.append(relativeFolder);
}

bool InstallTransaction::commit()
{
    std::stable_sort(m_files.begin(), m_files.end(),
        [](const File &a, const File &b) { return swapRank(a.target) < swapRank(b.target); });
    for (File &file : m_files) {
        if (!checkTarget(file))
            return false;
    }
    for (const QString &folder : qAsConst(m_folders)) {
        if (!noteFolders(folder))
            return false;
    }
    m_createdFolders.removeDuplicates();
    m_createdFolders.sort(); // a parent sorts before its children
    if (!syncStaged() || !writeJournal())
        return false;
    if (!createFolders() || !swap())
        return false; // the destructor rolls back
    QSet<QString> folders { m_dir };
    for (const File &file : qAsConst(m_files))
        folders.insert(QFileInfo(m_dir + QLatin1Char('/') + file.target).path());
    for (const QString &folder : qAsConst(folders))
        syncToDisk(folder);
    m_finished = true;
    QFile::remove(m_dir + QLatin1Char('/') + journalName); // the install counts from here
    syncToDisk(m_dir);
    return true;
}

// Every target can be replaced: no folder stands in its place, every folder on its way is a
// real folder inside the installation (or can be made there) and can be written.
bool InstallTransaction::checkTarget(File &file)
{
    const QFileInfo target(m_dir + QLatin1Char('/') + file.target);
    if (target.isDir() && !target.isSymLink())
        return fail(file.target + QStringLiteral(" is a folder"));
    file.existed = existsOrDangles(target.filePath());
    return noteFolders(parentOf(file.target));
}

bool InstallTransaction::noteFolders(const QString &relativeFolder)
{
    for (QString folder = relativeFolder; !folder.isEmpty(); folder = parentOf(folder)) {
        const QFileInfo info(m_dir + QLatin1Char('/') + folder);
        if (info.isSymLink())
            return fail(folder + QStringLiteral(" leads out of the installation"));
        if (info.exists() && !info.isDir())
            return fail(folder + QStringLiteral(" is not a folder"));
        if (info.exists())
            return info.isWritable() || fail(folder + QStringLiteral(" cannot be written"));
        m_createdFolders.append(folder);
    }
    return QFileInfo(m_dir).isWritable()
        || fail(QStringLiteral("the installation cannot be written"));
}

bool InstallTransaction::syncStaged()
{
    for (const File &file : qAsConst(m_files)) {
        if (!syncToDisk(newPath(m_staging, file.id)))
            return fail(QStringLiteral("cannot flush the staged ") + file.target);
    }
    return syncToDisk(m_staging + QStringLiteral("/new"))
        || fail(QStringLiteral("cannot flush the staging folder"));
}

bool InstallTransaction::writeJournal()
{
    QJsonArray files;
    for (const File &file : qAsConst(m_files))
        files.append(QJsonObject {
            { "target", file.target }, { "id", file.id }, { "existed", file.existed } });
    const QJsonObject journal { { "staging", QFileInfo(m_staging).fileName() }, { "files", files },
        { "folders", QJsonArray::fromStringList(m_createdFolders) } };
    QSaveFile out(m_dir + QLatin1Char('/') + journalName);
    // QSaveFile flushes the content to disk before it renames it into place.
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(journal).toJson()) < 0
        || !out.commit() || !syncToDisk(m_dir))
        return fail(QStringLiteral("cannot write the journal"));
    m_journalWritten = true;
    return true;
}

bool InstallTransaction::createFolders()
{
    for (const QString &folder : qAsConst(m_createdFolders)) {
        if (!QDir(m_dir).mkdir(folder))
            return fail(QStringLiteral("cannot create ") + folder);
    }
    return true;
}

bool InstallTransaction::swap()
{
    int swapped = 0;
    for (const File &file : qAsConst(m_files)) {
        const QString target = m_dir + QLatin1Char('/') + file.target;
        if (file.existed && !moveOver(target, oldPath(m_staging, file.id)))
            return fail(QStringLiteral("cannot move aside ") + file.target);
        if (!moveOver(newPath(m_staging, file.id), target))
            return fail(QStringLiteral("cannot replace ") + file.target);
        stopHereIfAsked(++swapped);
    }
    return true;
}

// Undoes whatever part of the swap happened, whatever the point at which it stopped: a file
// whose backup exists goes back; a file that did not exist before and whose staged copy is
// gone was put there by the install and goes.
bool InstallTransaction::rollBack(const QString &dir, const QString &staging,
    const QVector<File> &files, const QStringList &createdFolders)
{
    bool restored = true;
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        const QString target = dir + QLatin1Char('/') + file->target;
        if (file->existed) {
            const QString backup = oldPath(staging, file->id);
            if (existsOrDangles(backup) && !moveOver(backup, target))
                restored = false;
        } else if (!existsOrDangles(newPath(staging, file->id)) && existsOrDangles(target)) {
            restored = QFile::remove(target) && restored;
        }
    }
    for (auto folder = createdFolders.crbegin(); folder != createdFolders.crend(); ++folder)
        QDir(dir).rmdir(*folder); // left alone when something else was put in it meanwhile
    syncToDisk(dir);
    if (!restored)
        qWarning() << "Could not put back every file of the interrupted install in" << dir;
    return restored;
}

bool InstallTransaction::recoverLocked(const QString &installDir)
{
    const QString dir = QDir(installDir).absolutePath();
    QFile journalFile(dir + QLatin1Char('/') + journalName);
    if (!journalFile.exists()) {
        removeAbandonedStaging(dir);
        return true;
    }
    const QJsonObject journal = journalFile.open(QIODevice::ReadOnly)
        ? QJsonDocument::fromJson(journalFile.readAll()).object()
        : QJsonObject();
    journalFile.close();
    const QString stagingName = journal.value(QStringLiteral("staging")).toString();
    const QString staging = dir + QLatin1Char('/') + stagingName;
    QVector<File> files;
    bool valid = stagingName.startsWith(stagingPrefix) && !stagingName.contains(QLatin1Char('/'));
    for (const QJsonValue &value : journal.value(QStringLiteral("files")).toArray()) {
        File file;
        file.target = value[QStringLiteral("target")].toString();
        file.id = value[QStringLiteral("id")].toInt(-1);
        file.existed = value[QStringLiteral("existed")].toBool();
        valid = valid && staysInside(file.target) && file.id >= 0;
        files.append(file);
    }
    QStringList folders;
    for (const QJsonValue &value : journal.value(QStringLiteral("folders")).toArray()) {
        folders.append(value.toString());
        valid = valid && staysInside(folders.last());
    }
    if (!valid) {
        qWarning() << "Ignoring a damaged install journal in" << dir;
        return false;
    }
    // The programs go last, so once every new file is in place only the clean-up was missing.
    const bool complete = std::none_of(files.cbegin(), files.cend(),
        [&staging](const File &file) { return existsOrDangles(newPath(staging, file.id)); });
    if (!complete && !rollBack(dir, staging, files, folders))
        return false;
    qInfo() << (complete ? "Finished" : "Rolled back") << "an interrupted install in" << dir;
    journalFile.remove();
    syncToDisk(dir);
    removeAbandonedStaging(dir);
    return true;
}

bool recoverInterruptedInstall(const QString &installDir)
{
    const QDir dir(installDir);
    const QStringList leftovers = dir.entryList({journalName, stagingPrefix + QLatin1Char('*')},
                                                QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (leftovers.isEmpty())
        return true; // the usual start: nothing to lock, nothing written
    QLockFile lock(dir.absoluteFilePath(lockName));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return true; // an updater is installing right now
    return InstallTransaction::recoverLocked(installDir);
}
