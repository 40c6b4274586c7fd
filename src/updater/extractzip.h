#pragma once

#include <QString>

// Unpacks the zip archive zipPath over the folder destDir (created when missing).
// Nothing is installed unless every entry could be read completely and with a
// correct checksum; entries whose names would leave destDir make the whole archive
// fail. Folders named by entries are created inside destDir; every file is replaced
// in one step, so a target never holds half a file. False on any failure.
bool ExtractZip(const QString &zipPath, const QString &destDir);
