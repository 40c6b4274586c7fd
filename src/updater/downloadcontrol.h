#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <memory>

class FileHasher;
class QFile;

// Fetches one file at a time in ranged parts into the working directory: learns the
// size with HEAD, then runs one Download per part and signals once when all are done.
// Nothing beyond the learnt size is written; a file over 2 GiB is refused, and a file that
// takes longer than its deadline fails even while bytes keep trickling in.
class DownloadControl final : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxFileSize = qint64(2) << 30;

    explicit DownloadControl(QObject *parent = nullptr);
    ~DownloadControl() override;

    // Blocks in a nested event loop until the HEAD answer is in; 0 when the server
    // gives no length, answers with an error or cannot be reached.
    qint64 GetFileSize(const QUrl &url);
    void StartFileDownload(const QString &url, int partCount);

    // Inactivity limit of every request in milliseconds (default 30 s).
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }
    int transferTimeout() const { return m_transferTimeout; }
    // Limit for a whole file in milliseconds; 0 (the default) allows ten minutes plus the
    // time the file takes at 64 KiB/s.
    void setDeadline(int milliseconds) { m_fixedDeadline = milliseconds; }
    // Hash what arrives, for sha256() (a single part is hashed while it arrives).
    void setHashing(bool on) { m_hashing = on; }

    qint64 expectedSize() const { return fileSize; }
    // Outcome of the last file, valid once FileDownloadFinished() was emitted.
    bool succeeded() const { return m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }
    QString fileName() const;
    QByteArray sha256() const { return m_sha256; }

signals:
    void FileDownloadFinished();
    void DownReadyRead(int nBytes);

public slots:
    void SubPartFinished();
    void HttpReadRead(int nBytes);

private:
    void missDeadline();
    void finishFile();

    int partCount = 0;
    int finishedParts = 0;
    qint64 fileSize = 0;
    QUrl url;
    QFile *file = nullptr;
    int m_transferTimeout = 30000;
    int m_fixedDeadline = 0;
    bool m_hashing = false;
    qint64 m_received = 0;
    std::unique_ptr<FileHasher> m_hasher;
    QByteArray m_sha256;
    QTimer m_deadline;
    QString m_errorString;
};
