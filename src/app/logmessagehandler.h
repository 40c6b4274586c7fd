#pragma once

#include <QString>
#include <QtGlobal>

class QDateTime;

// The record one message becomes in "zorva.log": "\r\nDebug[<stamp>]: <text>\n" and the like.
// The line end that follows every record is not part of it.
QString logRecordText(QtMsgType type, const QDateTime &when, const QString &message);

// Appends the record of one message to "zorva.log" in the working directory, then a line end.
// Installed as the process-wide message handler; safe to call from any thread, and records
// from different threads never interleave.
void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);
