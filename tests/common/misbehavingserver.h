#pragma once

#include <QMap>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <utility>

// An HTTP server on 127.0.0.1 that misbehaves where nginx cannot. It serves `files` by path,
// one request per connection. Silent and ErrorStatus hit every request; the other faults only
// *.zip files, whose GETs it answers with 206 from the asked offset to the end.
class MisbehavingServer final : public QTcpServer
{
public:
    enum Fault { Silent, ErrorStatus, ExtraBytes, WrongRange, HugeSize, Trickle, DropOnce };

    explicit MisbehavingServer(Fault fault)
        : m_fault(fault)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }

    QMap<QByteArray, QByteArray> files; // path -> content
    QByteArray lastHead; // of the last request

private:
    void serve(QTcpSocket *socket)
    {
        lastHead = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", lastHead);
        if (!lastHead.contains("\r\n\r\n") || m_fault == Silent)
            return;
        const QByteArray path = lastHead.split(' ').value(1), body = files.value(path);
        const bool head = lastHead.startsWith("HEAD"), zip = path.endsWith(".zip"),
                   ranged = zip && m_fault > ErrorStatus && !head;
        const int from = QRegularExpression("Range: [Bb]ytes=(\\d+)-").match(lastHead).captured(1).toInt();
        const QByteArray whole = ranged && m_fault == WrongRange ? body.repeated(3) : body; // 3 x the declared size
        const QByteArray extra = ranged && m_fault == ExtraBytes ? QByteArray(4096, 'x') : QByteArray();
        QByteArray sent = head ? QByteArray() : whole.mid(from) + extra;
        QByteArray status = files.contains(path) ? (m_fault == ErrorStatus ? "500 Oops" : "200 OK") : "404 Not Found";
        const qint64 length = head ? (zip && m_fault == HugeSize ? 3LL << 30 : body.size()) : sent.size();
        QByteArray headers = "Content-Length: " + QByteArray::number(length) + "\r\n";
        if (ranged) {
            status = "206 Partial Content";
            const QByteArray last = QByteArray::number(whole.size() - 1), size = QByteArray::number(whole.size());
            headers += "Content-Range: bytes " + QByteArray::number(from) + '-' + last + '/' + size + "\r\n";
        }
        socket->write("HTTP/1.1 " + status + "\r\nConnection: close\r\n" + headers + "\r\n");
        if (ranged && m_fault == Trickle) { // one byte every 100 ms
            auto *drip = new QTimer(socket);
            connect(
                drip, &QTimer::timeout, socket, [socket, sent, i = 0]() mutable { socket->write(sent.mid(i++, 1)); });
            return drip->start(100);
        }
        const bool drop = ranged && m_fault == DropOnce && !std::exchange(m_dropped, true); // the first breaks half-way
        sent.truncate(drop ? sent.size() / 2 : sent.size());
        socket->write(sent);
        socket->disconnectFromHost(); // once what is queued is sent
    }

    Fault m_fault;
    bool m_dropped = false;
};
