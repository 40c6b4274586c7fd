// The version file comes from the update server; the trainer hands its trimmed text to
// the updater as an argument, and the updater turns its two arguments into the list of
// archives to fetch. Input: "<version file>" or "<current>\0<target>" (the updater's
// two arguments).
#include "fuzzapp.h"

#include "appupdate.h"
#include "updaterfunctions.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

const QString serverBase = QStringLiteral("http://127.0.0.1:8471");

void checkArchiveList(int current, int target)
{
    const QStringList urls = UpdaterFunctions::archiveUrls(serverBase, current, target);
    const qint64 span = target > current ? qint64(target) - current : 0;
    const qint64 expected = qMin<qint64>(span, UpdaterFunctions::kMaxVersionsPerUpdate);
    FUZZ_CHECK(urls.size() == expected);
    if (urls.isEmpty())
        return;
    FUZZ_CHECK(urls.first() == UpdaterFunctions::archiveUrl(serverBase, current + 1));
    FUZZ_CHECK(urls.last() == UpdaterFunctions::archiveUrl(serverBase, int(current + expected)));
}

// The version file as the trainer reads it and as the updater then receives it (a NUL
// never gets here: it could not travel on a command line).
void checkVersionFile(const QByteArray &body)
{
    const int version = AppUpdate::parseServerVersion(body);
    const QString argument = QString::fromUtf8(body).trimmed();
    FUZZ_CHECK(version >= 0 || argument.startsWith(QLatin1Char('-')));
    FUZZ_CHECK(UpdaterFunctions::parseVersionNumber(argument) == version);
    // Text around the digits ("1307abc", "13 07") is refused, not half-read.
    if (version != 0)
        FUZZ_CHECK(QRegularExpression(QStringLiteral("^[+-]?[0-9]+$")).match(argument).hasMatch());
    // Only a newer version starts the updater, with our own number as the first argument.
    if (version > AppUpdate::BuiltInVersion)
        checkArchiveList(AppUpdate::BuiltInVersion, version);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const int separator = bytes.indexOf('\0');
    if (separator < 0) {
        checkVersionFile(bytes);
        return 0;
    }
    const int current = UpdaterFunctions::parseVersionNumber(QString::fromLocal8Bit(bytes.left(separator)));
    const int target = UpdaterFunctions::parseVersionNumber(QString::fromLocal8Bit(bytes.mid(separator + 1)));
    checkArchiveList(current, target);
    return 0;
}
