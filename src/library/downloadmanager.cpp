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
    const QString refusal = refusalOf(url);
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "Download of %s refused: not an http or https address\n",
            url.toEncoded().constData());
        fail(url, refusal);
        return;
    }
    QNetworkReply *reply = manager.get(QNetworkRequest(url));
    // The network thread reads ahead only this far: the body goes to disk as it arrives
    // instead of piling up in memory when the disk is slower than the network.
    reply->setReadBufferSize(readAheadBytes);
    connect(reply, &QNetworkReply::errorOccurred, this, &DownloadManager::slotNetError);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { writeAvailable(reply); });
    connect(reply, &QNetworkReply::downloadProgress, this,
        [this, url](qint64 received, qint64 total) { emit progressSig(url, received, total); });
    currentDownloads.append(reply);
    startTransfer(reply, url);
}

QString DownloadManager::refusalOf(const QUrl &url)
{
    const bool web
        = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (url.isValid() && web && !url.host().isEmpty())
        return QString();
    return tr("Only http and https addresses are downloaded, not %1").arg(url.toDisplayString());
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

void DownloadManager::startTransfer(QNetworkReply *reply, const QUrl &url)
{
    Transfer transfer;
    transfer.url = url;
    transfer.path = MaterialPaths::audioPath(uniqueSaveName(url));
    auto *file = new QSaveFile(transfer.path);
    if (file->open(QIODevice::WriteOnly)) {
        transfer.file = file;
        m_transfers.insert(reply, transfer);
        return;
    }
    std::fprintf(stderr, "Could not open %s for writing: %s\n", qPrintable(transfer.path),
        qPrintable(file->errorString()));
    transfer.error
        = tr("Could not open %1 for writing: %2").arg(transfer.path, file->errorString());
    delete file;
    // Nothing could keep the body: the transfer ends at once and reports the failure.
    m_transfers.insert(reply, transfer);
    reply->abort();
}

void DownloadManager::writeAvailable(QNetworkReply *reply)
{
    auto it = m_transfers.find(reply);
    if (it == m_transfers.end() || !it->file || !it->error.isEmpty())
        return;
    if (!saveToFile(it->file, reply)) {
        std::fprintf(stderr, "Could not write %s: %s\n", qPrintable(it->path),
            qPrintable(it->file->errorString()));
        it->error = tr("Could not write %1: %2").arg(it->path, it->file->errorString());
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
    if (transfer.error.isEmpty() && reply->error() != QNetworkReply::NoError) {
        std::fprintf(stderr, "Download of %s failed: %s\n", reply->url().toEncoded().constData(),
            qPrintable(reply->errorString()));
        transfer.error = reply->errorString();
    } else if (transfer.error.isEmpty() && commitTransfer(reply, transfer)) {
        std::fprintf(stdout, "Download of %s succeeded (saved to %s)\n",
            reply->url().toEncoded().constData(), qPrintable(transfer.path));
        std::fflush(stdout);
        emit finishSig(transfer.path);
    }
    if (!transfer.error.isEmpty())
        fail(transfer.url, transfer.error);
    delete transfer.file; // an uncommitted file removes its temporary copy
    currentDownloads.removeAll(reply);
    reply->deleteLater();
}

bool DownloadManager::commitTransfer(QNetworkReply *reply, Transfer &transfer)
{
    if (m_replaceCheck)
        transfer.error = m_replaceCheck(transfer.path, transfer.url);
    if (!transfer.error.isEmpty()) {
        std::fprintf(stderr, "Download of %s refused: %s\n", transfer.url.toEncoded().constData(),
            qPrintable(transfer.error));
        return false;
    }
    if (saveToFile(transfer.file, reply) && transfer.file->commit())
        return true;
    std::fprintf(stderr, "Could not write %s: %s\n", qPrintable(transfer.path),
        qPrintable(transfer.file->errorString()));
    transfer.error = tr("Could not write %1: %2").arg(transfer.path, transfer.file->errorString());
    return false;
}

void DownloadManager::fail(const QUrl &url, const QString &reason)
{
    QMetaObject::invokeMethod(
        this, [this, url, reason] { emit failSig(url, reason); }, Qt::QueuedConnection);
}
