#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// Copies an installation folder (the stage folder of the build) so that a test runs the
// trainer among the files it reads at start, without touching the build's own copy.
inline bool copyInstallation(const QString &from, const QString &to, const QStringList &skip = {})
{
    if (!QDir().mkpath(to))
        return false;
    const auto entries = QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (skip.contains(entry.fileName()))
            continue;
        const QString target = to + QLatin1Char('/') + entry.fileName();
        const bool copied = entry.isDir() ? copyInstallation(entry.filePath(), target)
                                          : QFile::copy(entry.filePath(), target);
        if (!copied)
            return false;
    }
    return true;
}
