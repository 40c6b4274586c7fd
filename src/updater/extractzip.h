#pragma once

#include <QString>

// Unpacks the zip archive zipPath over the folder destDir (created when missing), all or
// nothing: every entry is read completely, its checksum compared and the result staged
// beside the targets before the first installed file is replaced (see InstallTransaction).
// Entries whose names would leave destDir make the whole archive fail. Folders named by
// entries are created inside destDir. Files keep the archive's Unix permissions without
// group and other write; the trainer and the updater are always executable. False on any
// failure, with destDir as it was.
bool ExtractZip(const QString &zipPath, const QString &destDir);
