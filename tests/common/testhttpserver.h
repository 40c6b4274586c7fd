#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A private nginx on 127.0.0.1 and a free port, serving a folder of the test's own.
// It answers HEAD with Content-Length and honours Range; every request is logged as
// "METHOD /uri STATUS "range" bytes" and can be read back with accessLog(). Below /slow/
// it serves the same files at 2 MB/s.
class TestHttpServer final
{
public:
    // With https, start() makes a self-signed certificate for 127.0.0.1 (certificateFile()).
    explicit TestHttpServer(const QString &documentRoot, bool https = false);
    ~TestHttpServer();

    // Starts nginx and waits until it accepts connections; false with errorString() set.
    bool start();
    void stop();

    bool isRunning() const;
    quint16 port() const { return m_port; }
    QString baseUrl() const; // "http(s)://127.0.0.1:<port>", no trailing slash
    QString certificateFile() const { return m_state.filePath(QStringLiteral("cert.pem")); }
    QString documentRoot() const { return m_root; }
    QStringList accessLog() const;
    void clearAccessLog();
    QString errorString() const { return m_error; }

    // A port on which nothing listens: for "server down" cases.
    static quint16 unusedPort();

private:
    QString m_root;
    QTemporaryDir m_state;
    QProcess m_nginx;
    quint16 m_port = 0;
    bool m_https = false;
    QString m_error;
};
