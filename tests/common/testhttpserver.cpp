#include "testhttpserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <unistd.h>

TestHttpServer::TestHttpServer(const QString &documentRoot, bool https)
    : m_root(documentRoot)
    , m_https(https)
{
}

TestHttpServer::~TestHttpServer()
{
    stop();
}

quint16 TestHttpServer::unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool TestHttpServer::start()
{
    QFile templ(QStringLiteral(ZORVA_NGINX_TEMPLATE));
    if (!templ.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read the nginx template");
        return false;
    }
    const QString state = m_state.path();
    m_port = unusedPort();
    QString conf = QString::fromUtf8(templ.readAll());
    // nginx's workers drop to "nobody" when started as root, and could not read the
    // test's private (mode 700) folders then.
    conf.replace(QLatin1String("@USER@"), geteuid() == 0 ? QStringLiteral("user root root;") : QString());
    conf.replace(QLatin1String("@DAEMON@"), QLatin1String("off"));
    conf.replace(QLatin1String("@STATE@"), state);
    conf.replace(QLatin1String("@ROOT@"), m_root);
    conf.replace(QLatin1String("@PORT@"), QString::number(m_port));
    // The same files, slowly, for transfers that must last long enough to show progress.
    conf.replace(QLatin1String("location / { }"),
        QStringLiteral("location / { }\n        location /slow/ { alias %1/; limit_rate 2m; }").arg(m_root));
    const QString key = m_state.filePath(QStringLiteral("key.pem")), tls = QStringLiteral(" ssl; ssl_certificate %1; ssl_certificate_key %2");
    conf.replace(QLatin1String("@TLS@"), m_https ? tls.arg(certificateFile(), key) : QString());
    if (m_https && QProcess::execute(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", certificateFile()}) != 0) {
        m_error = QStringLiteral("openssl could not make a certificate");
        return false;
    }
    QFile confFile(state + QStringLiteral("/nginx.conf"));
    if (!confFile.open(QIODevice::WriteOnly) || confFile.write(conf.toUtf8()) < 0) {
        m_error = QStringLiteral("cannot write the nginx configuration");
        return false;
    }
    confFile.close();
    // nginx makes its temporary folders itself, but not their common parent.
    QDir().mkpath(state + QStringLiteral("/tmp"));

    m_nginx.setProcessChannelMode(QProcess::MergedChannels);
    m_nginx.start(QStringLiteral("nginx"),
                  {QStringLiteral("-p"), state, QStringLiteral("-e"), state + QStringLiteral("/error.log"),
                   QStringLiteral("-c"), confFile.fileName()});
    if (!m_nginx.waitForStarted(5000)) {
        m_error = QStringLiteral("nginx did not start: ") + m_nginx.errorString();
        return false;
    }
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (m_nginx.state() != QProcess::Running) {
            m_error = QStringLiteral("nginx exited: ") + QString::fromLocal8Bit(m_nginx.readAll());
            return false;
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    m_error = QStringLiteral("nginx did not accept connections in time");
    return false;
}

void TestHttpServer::stop()
{
    if (m_nginx.state() == QProcess::NotRunning)
        return;
    m_nginx.terminate();
    if (!m_nginx.waitForFinished(5000)) {
        m_nginx.kill();
        m_nginx.waitForFinished(2000);
    }
}

bool TestHttpServer::isRunning() const
{
    return m_nginx.state() == QProcess::Running;
}

QString TestHttpServer::baseUrl() const
{
    return (m_https ? QStringLiteral("https://127.0.0.1:") : QStringLiteral("http://127.0.0.1:")) + QString::number(m_port);
}

QStringList TestHttpServer::accessLog() const
{
    QFile log(m_state.path() + QStringLiteral("/access.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestHttpServer::clearAccessLog()
{
    QFile log(m_state.path() + QStringLiteral("/access.log"));
    if (log.open(QIODevice::WriteOnly))
        log.resize(0); // nginx appends with O_APPEND, so truncating in place is safe
}
