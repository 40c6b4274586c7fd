#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QFile;

// Fetches one file at a time in ranged parts into the working directory: learns the
// size with HEAD, then runs one Download per part and signals once when all are done.
class DownloadControl final : public QObject
{
    Q_OBJECT
public:
    explicit DownloadControl(QObject *parent = nullptr);

    // Blocks in a nested event loop until the HEAD answer is in; 0 when the server
    // gives no length, answers with an error or cannot be reached.
    qint64 GetFileSize(const QUrl &url);
    void StartFileDownload(const QString &url, int partCount);

    // Inactivity limit of every request in milliseconds (default 30 s).
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }

    // Outcome of the last file, valid once FileDownloadFinished() was emitted.
    bool succeeded() const { return m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }
    QString fileName() const;

signals:
    void FileDownloadFinished();
    void DownReadyRead(int nBytes);

public slots:
    void SubPartFinished();
    void HttpReadRead(int nBytes);

private:
    void finishFile();

    int partCount = 0;
    int finishedParts = 0;
    qint64 fileSize = 0;
    QUrl url;
    QFile *file = nullptr;
    int m_transferTimeout = 30000;
    QString m_errorString;
};
