#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QUrl;

// Small pure helpers of the updater, kept free of windows and networking so that they
// can be checked case by case.
namespace UpdaterFunctions {

// A version number given as decimal text; surrounding white space is tolerated and
// anything else counts as 0.
int parseVersionNumber(const QString &text);

// Base URL of the update server: ZORVA_UPDATE_URL, else the built-in default; never
// ends in "/".
QString updateServerBase();

QString archiveUrl(const QString &serverBase, int version);

// One update installs at most this many versions.
constexpr int kMaxVersionsPerUpdate = 100;

// Archive URLs for every version after current up to and including target (at most
// kMaxVersionsPerUpdate of them).
QStringList archiveUrls(const QString &serverBase, int current, int target);

// The last component of the URL's path; empty when the path ends in "/".
QString lastPathComponent(const QUrl &url);

// The local file a download is saved to: the last path component, or "index.html".
QString downloadFileName(const QUrl &url);

// A program's file name on this platform ("ZORVA" here, "ZORVA.exe" on Windows).
QString executableName(const QString &baseName);

// First and last byte offsets requested for part `index` (from 0) of `partCount`.
// Every part after the first starts one byte early, so neighbours overlap and never
// leave a gap (never before byte 0); the last part ends at the size, which servers clamp to the last byte.
QPair<qint64, qint64> partRange(qint64 fileSize, int index, int partCount);

// The path, relative to the installation folder, that a zip entry named `entryName`
// may be written to, or an empty string when the name would leave that folder
// (absolute names, drive letters, ".." components) or names nothing.
QString safeEntryPath(const QString &entryName);

} // namespace UpdaterFunctions
