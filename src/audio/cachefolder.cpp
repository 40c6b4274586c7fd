#include "cachefolder.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace audio {

namespace {

// Files of a cache are ours only with one of these endings; QSaveFile's unfinished
// files ("name.wav.XXXXXX") never match, so a copy being written is never removed.
const QStringList kCachedEndings { QStringLiteral("*.wav"), QStringLiteral("*.peaks") };

QString materialKey(const QString &materialPath)
{
    const QFileInfo info(materialPath);
    const QByteArray identity = info.absoluteFilePath().toUtf8() + '\n'
        + QByteArray::number(info.size()) + '\n'
        + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
    return QString::fromLatin1(
        QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex().left(24));
}

} // namespace

CacheFolder::CacheFolder(const QString &folder, qint64 limitBytes)
    : m_folder(folder)
    , m_limitBytes(limitBytes)
{
}

QString CacheFolder::defaultFolder(const QString &name)
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1Char('/')
        + name;
}

QString CacheFolder::pathFor(const QString &materialPath, const QString &suffix) const
{
    return m_folder + QLatin1Char('/') + materialKey(materialPath) + QLatin1Char('-') + suffix;
}

QString CacheFolder::lookup(const QString &materialPath, const QString &suffix) const
{
    const QString path = pathFor(materialPath, suffix);
    QFile file(path);
    if (!file.exists())
        return {};
    // Opening for append never truncates; the new time is what eviction sorts by.
    if (file.open(QIODevice::Append))
        file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return path;
}

void CacheFolder::evict(const QString &keep) const
{
    QFileInfoList files = QDir(m_folder).entryInfoList(kCachedEndings, QDir::Files);
    qint64 total = 0;
    for (const QFileInfo &file : files)
        total += file.size();
    std::sort(files.begin(), files.end(),
        [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() < b.lastModified(); });
    const QString kept = QFileInfo(keep).absoluteFilePath();
    for (const QFileInfo &file : files) {
        if (total <= m_limitBytes)
            break;
        if (file.absoluteFilePath() != kept && QFile::remove(file.absoluteFilePath()))
            total -= file.size();
    }
}

} // namespace audio
