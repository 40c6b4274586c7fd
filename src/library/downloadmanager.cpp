#include "downloadmanager.h"

#include "materialpaths.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace {
constexpr qint64 readAheadBytes = 1024 * 1024;
} // namespace

DownloadManager::DownloadManager(QObject *parent)
    : QObject(parent)
{
    // A server that moved a file answers with a redirect; without following it the
    // redirect page would be saved as the material.
    manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    connect(&manager, &QNetworkAccessManager::finished, this, &DownloadManager::downloadFinished);
}

DownloadManager::~DownloadManager()
{
    // Replies still running belong to the manager; their unfinished files are discarded.
    for (const Transfer &transfer : qAsConst(m_transfers))
        delete transfer.file;
}

void DownloadManager::download(const QUrl &url)
{
    QNetworkReply *reply = manager.get(QNetworkRequest(url));
    // The network thread reads ahead only this far: the body goes to disk as it arrives
    // instead of piling up in memory when the disk is slower than the network.
    reply->setReadBufferSize(readAheadBytes);
    connect(reply, &QNetworkReply::errorOccurred, this, &DownloadManager::slotNetError);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { writeAvailable(reply); });
    currentDownloads.append(reply);
    startTransfer(reply);
}

QString DownloadManager::uniqueSaveName(const QUrl &url)
{
    QString name = MaterialPaths::fileNameOf(url.path());
    if (name.isEmpty())
        name = QStringLiteral("download");
    if (!QFileInfo::exists(name))
        return name;
    int i = 0;
    while (QFileInfo::exists(name + QLatin1Char('.') + QString::number(i)))
        ++i;
    return name + QLatin1Char('.') + QString::number(i);
}

void DownloadManager::startTransfer(QNetworkReply *reply)
{
    Transfer transfer;
    transfer.path = MaterialPaths::audioPath(uniqueSaveName(reply->url()));
    auto *file = new QSaveFile(transfer.path);
    if (file->open(QIODevice::WriteOnly)) {
        transfer.file = file;
    } else {
        std::fprintf(stderr, "Could not open %s for writing: %s\n", qPrintable(transfer.path),
            qPrintable(file->errorString()));
        delete file;
        // Nothing could keep the body; the finished reply is then dropped without a signal.
        m_transfers.insert(reply, transfer);
        reply->abort();
        return;
    }
    m_transfers.insert(reply, transfer);
}

void DownloadManager::writeAvailable(QNetworkReply *reply)
{
    auto it = m_transfers.find(reply);
    if (it == m_transfers.end() || !it->file || it->writeFailed)
        return;
    if (!saveToFile(it->file, reply)) {
        it->writeFailed = true;
        reply->abort();
    }
}

bool DownloadManager::saveToFile(QSaveFile *target, QIODevice *data)
{
    const QByteArray chunk = data->readAll();
    return target->write(chunk) == chunk.size();
}

void DownloadManager::slotNetError(QNetworkReply::NetworkError code)
{
    if (code == QNetworkReply::HostNotFoundError)
        emit networkErrorSig();
}

void DownloadManager::downloadFinished(QNetworkReply *reply)
{
    Transfer transfer = m_transfers.take(reply);
    if (!transfer.file) {
        // The "could not open" line has been written already.
    } else if (transfer.writeFailed || reply->error() == QNetworkReply::NoError) {
        if (commitTransfer(reply, transfer)) {
            std::fprintf(stdout, "Download of %s succeeded (saved to %s)\n",
                reply->url().toEncoded().constData(), qPrintable(transfer.path));
            std::fflush(stdout);
            emit finishSig(transfer.path);
        }
    } else {
        std::fprintf(stderr, "Download of %s failed: %s\n", reply->url().toEncoded().constData(),
            qPrintable(reply->errorString()));
    }
    delete transfer.file; // an uncommitted file removes its temporary copy
    currentDownloads.removeAll(reply);
    reply->deleteLater();
}

bool DownloadManager::commitTransfer(QNetworkReply *reply, Transfer &transfer)
{
    if (!transfer.writeFailed && saveToFile(transfer.file, reply) && transfer.file->commit())
        return true;
    std::fprintf(stderr, "Could not write %s: %s\n", qPrintable(transfer.path),
        qPrintable(transfer.file->errorString()));
    return false;
}
