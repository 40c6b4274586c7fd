#pragma once

#include <QList>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

class QIODevice;
class QSaveFile;

// Fetches single material files into "./workspace/". Each body is written to disk as it
// arrives and replaces the old file only once it is complete, so a failed or cut-off
// transfer never leaves a truncated material file behind.
class DownloadManager : public QObject
{
    Q_OBJECT
public:
    explicit DownloadManager(QObject *parent = nullptr);
    ~DownloadManager() override;

    void download(const QUrl &url);

    // The name a download of url is saved under: the URL's file name ("download" when it
    // has none), with ".0", ".1", ... appended when that name is taken in the program folder.
    static QString uniqueSaveName(const QUrl &url);

signals:
    void finishSig(const QString &path);
    void networkErrorSig();

public slots:
    void downloadFinished(QNetworkReply *reply);
    void slotNetError(QNetworkReply::NetworkError code);

private:
    struct Transfer
    {
        QString path;
        QSaveFile *file = nullptr; // null when the target could not be opened
        bool writeFailed = false;
    };

    void startTransfer(QNetworkReply *reply);
    void writeAvailable(QNetworkReply *reply);
    // Appends everything data has to the open target; false when the disk refused it.
    static bool saveToFile(QSaveFile *target, QIODevice *data);
    bool commitTransfer(QNetworkReply *reply, Transfer &transfer);

    QNetworkAccessManager manager { this };
    QList<QNetworkReply *> currentDownloads;
    QMap<QNetworkReply *, Transfer> m_transfers;
};
