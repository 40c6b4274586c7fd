#include "download.h"

#include <QDebug>
#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrl>

Download::Download(int partIndex, QObject *parent)
    : QObject(parent)
    , index(partIndex)
{
}

void Download::StartDownload(const QUrl &url, QFile *target, qint64 first, qint64 last)
{
    if (!target)
        return;
    done = 0;
    start = first;
    end = last;
    file = target;
    m_url = url;
    m_resumed = false;
    m_errorString.clear();
    qDebug() << "Part" << index << "start download";
    sendRequest();
}

// Asks for what is still missing of the range.
void Download::sendRequest()
{
    m_requestedFrom = start + done;
    m_answerChecked = false;
    QNetworkRequest request(m_url);
    request.setRawHeader("Range",
        QString::asprintf(
            "Bytes=%lld-%lld", static_cast<long long>(m_requestedFrom), static_cast<long long>(end))
            .toLatin1());
    // Qt would otherwise ask for gzip and unpack it: sizes and ranges would no longer be the
    // file's.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(m_transferTimeout);
    reply = manager.get(request);
    connect(reply, &QNetworkReply::finished, this, &Download::FinishedSlot);
    connect(reply, &QNetworkReply::readyRead, this, &Download::HttpReadyRead);
}

// The last byte this part may write: its range's end, clamped to the declared size.
qint64 Download::lastByte() const
{
    return m_fileSize > 0 ? qMin(end, m_fileSize - 1) : end;
}

// A 206 must carry exactly the range asked for, of a file of the declared size. A server that
// ignores Range answers 200 with the whole file, which only fits a part that starts at 0.
bool Download::answerFitsRange(const QNetworkReply *answer) const
{
    const int status = answer->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 200)
        return m_requestedFrom == 0;
    if (status != 206)
        return false;
    static const QRegularExpression form(
        QStringLiteral("^bytes (\\d+)-(\\d+)/(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    const auto range
        = form.match(QString::fromLatin1(answer->rawHeader("Content-Range")).trimmed());
    return range.hasMatch() && range.captured(1).toLongLong() == m_requestedFrom
        && range.captured(2).toLongLong() == lastByte()
        && (m_fileSize <= 0 || range.captured(3).toLongLong() == m_fileSize);
}

void Download::abort(const QString &reason)
{
    if (m_errorString.isEmpty())
        m_errorString = reason;
    if (reply)
        reply->abort();
}

void Download::HttpReadyRead()
{
    if (!file || !reply || failed())
        return;
    if (!m_answerChecked) {
        if (!answerFitsRange(reply))
            return abort(unfitAnswer(reply));
        m_answerChecked = true;
    }
    if (m_buffer.isEmpty())
        m_buffer.resize(256 * 1024);
    for (;;) {
        const qint64 n = reply->read(m_buffer.data(), m_buffer.size());
        if (n <= 0)
            return;
        const qint64 room = lastByte() - (start + done) + 1;
        const qint64 take = qMin(n, room);
        if (take > 0
            && ((file->pos() != start + done && !file->seek(start + done))
                || file->write(m_buffer.constData(), take) != take))
            return abort(tr("cannot write %1: %2").arg(file->fileName(), file->errorString()));
        done += qMax<qint64>(take, 0);
        if (take > 0)
            emit DownReadyRead(int(take));
        if (take < n)
            return abort(
                tr("the server sent more than the bytes %1-%2").arg(start).arg(lastByte()));
    }
}

QString Download::unfitAnswer(const QNetworkReply *answer) const
{
    return tr("the server answered status %1, range \"%2\" to a request for bytes %3-%4")
        .arg(answer->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt())
        .arg(QString::fromLatin1(answer->rawHeader("Content-Range")))
        .arg(m_requestedFrom)
        .arg(lastByte());
}

// A connection that broke off is taken up once, where it stopped.
bool Download::canResume(const QNetworkReply *answer) const
{
    if (m_resumed || start + done > lastByte())
        return false;
    switch (answer->error()) {
    case QNetworkReply::NoError: // ended early without saying so
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

void Download::FinishedSlot()
{
    if (!reply)
        return;
    HttpReadyRead(); // whatever is still buffered
    if (!reply)
        return; // aborting finished the part already
    QNetworkReply *answer = reply;
    reply = nullptr;
    answer->deleteLater();
    const bool answered = m_answerChecked || answerFitsRange(answer);
    const bool noAnswerYet = answer->attribute(QNetworkRequest::HttpStatusCodeAttribute).isNull();
    if (!failed() && (answered || noAnswerYet) && canResume(answer)) {
        qDebug() << "Part" << index << "resumes at" << start + done << "after"
                 << answer->errorString();
        m_resumed = true;
        sendRequest();
        return;
    }
    if (!failed() && answer->error() != QNetworkReply::NoError)
        m_errorString = answer->errorString();
    else if (!failed() && !answered)
        m_errorString = unfitAnswer(answer);
    else if (!failed() && start + done <= lastByte())
        m_errorString
            = tr("the transfer ended at byte %1 of %2").arg(start + done).arg(lastByte() + 1);
    if (file)
        file->flush();
    file = nullptr;
    qDebug() << "Part" << index << "download finished";
    emit DownloadFinished();
}
