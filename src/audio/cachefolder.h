#pragma once

#include <QString>

namespace audio {

// A folder of files made from materials (peaks, slower copies), each named after the
// material's path, size and modification time, so an edited or replaced material never
// gets an old file. The folder is kept under a size limit by removing the files used
// least recently; a file's modification time records its last use.
class CacheFolder
{
public:
    CacheFolder(const QString &folder, qint64 limitBytes);

    // QStandardPaths::CacheLocation + "/" + name: the folder a caller gets by default.
    static QString defaultFolder(const QString &name);

    QString folder() const { return m_folder; }
    qint64 limitBytes() const { return m_limitBytes; }

    // Where the file made from material with this suffix (e.g. "0.70x.wav") belongs.
    QString pathFor(const QString &materialPath, const QString &suffix) const;
    // That file when it exists, marked as just used; otherwise an empty text.
    QString lookup(const QString &materialPath, const QString &suffix) const;
    // Removes the least recently used files until the folder is within its limit; `keep`
    // (the file just made) is never removed.
    void evict(const QString &keep = {}) const;

private:
    QString m_folder;
    qint64 m_limitBytes = 0;
};

} // namespace audio
