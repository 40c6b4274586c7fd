#pragma once

#include <QString>
#include <QStringList>

// Small pieces of the training bar's logic that need no window.

// Seconds as "mm:ss", both fields at least two digits wide ("00:03", "01:05", "60:00").
QString recordClockText(int seconds);

// How many repeat buttons (1 up to this number) a training folder unlocks, judged from
// its file names in name order: the first character of the last name that begins with a
// digit is the highest repeat recorded so far. Names that begin otherwise are no recordings
// (the take log "takes.json", which sorts after them all) and are passed over; a digit
// other than 1 to 5 unlocks none.
int unlockedRepeatCount(const QStringList &fileNamesByName);

// The plain files of a folder, by name ignoring case; empty for a missing folder.
QStringList folderFileNamesByName(const QString &folder);
