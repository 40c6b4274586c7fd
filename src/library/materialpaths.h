#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QTreeWidgetItem;

// Where a material's files and folders live, relative to the program folder, and the
// small rules the library applies to its list entries.
namespace MaterialPaths {

// Audio files smaller than this are left-overs of broken downloads or copies.
constexpr qint64 minimumAudioBytes = 51200;

// Last path component of a file path or of a URL's path (query and fragment dropped).
QString fileNameOf(const QString &pathOrUrl);

// A material's base name: its file name without folder and without the last extension;
// "@T" of a translation stays, so "talk@T.txt" gives "talk@T".
QString materialBaseName(const QString &fileName);

QString audioPath(const QString &audioName);       // "./workspace/" + name
QString transcriptPath(const QString &baseName);   // "./workspace/<base>.txt"
QString translationPath(const QString &baseName);  // "./workspace/<base>@T.txt"
QString trainFolder(const QString &key);           // "./workspace/train/<key>/"
QString demoFolder(const QString &key);            // "./workspace/demo/<key>/"

bool isDamagedAudioSize(qint64 size);

// An entry is a material when it names a key or an audio source; anything else is a folder.
bool isMaterial(const QTreeWidgetItem *item);

// wanted itself when taken(wanted) is false, else the first of wanted + ".1", ".2", ...
// that is not taken.
QString firstFreeName(const QString &wanted, const std::function<bool(const QString &)> &taken);

// The catalogue address below a content server's base URL.
QUrl onlineListUrl(const QString &serverBase);
// The content server: ZORVA_CONTENT_URL when set, else the compiled-in default.
QString contentServerBase();

} // namespace MaterialPaths
