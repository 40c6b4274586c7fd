#include "appupdate.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

AppUpdate::AppUpdate()
    : m_manager(new QNetworkAccessManager(this))
{
    connect(m_manager, &QNetworkAccessManager::finished, this, &AppUpdate::RequestFinished);
}

AppUpdate::~AppUpdate()
{
    delete m_box;
}

int AppUpdate::parseServerVersion(const QByteArray &body)
{
    bool ok = false;
    const int version = QString::fromUtf8(body).trimmed().toInt(&ok, 10);
    return ok ? version : 0;
}

QString AppUpdate::updateServerBase()
{
    QString base = QString::fromLocal8Bit(qgetenv("ZORVA_UPDATE_URL")).trimmed();
    if (base.isEmpty())
        base = QStringLiteral("http://127.0.0.1:8471");
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString AppUpdate::executableName(const QString &baseName)
{
#ifdef Q_OS_WIN
    return baseName + QStringLiteral(".exe");
#else
    return baseName;
#endif
}

bool AppUpdate::CheckVersion()
{
    QNetworkRequest request(
        QUrl(updateServerBase() + QStringLiteral("/software/ZORVA/upgrade/version.txt")));
    // A server that accepts the connection but never answers must not keep the
    // request open for the whole run.
    request.setTransferTimeout(m_transferTimeout);
    m_manager->get(request);
    return true;
}

void AppUpdate::RequestFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    // An error page may well hold digits; only a proper answer counts.
    const QByteArray body
        = reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    // The updater gets the number without the white space around it.
    m_serverVersion = QString::fromUtf8(body).trimmed();
    if (parseServerVersion(body) <= BuiltInVersion)
        return;

    QMessageBox *box
        = showBox(QMessageBox::Question, tr("升级提醒"), tr("发现新的软件版本，是否立即更新？"));
    // The standard buttons keep their roles; their words answer the question.
    QPushButton *now = box->addButton(QMessageBox::Ok);
    now->setText(tr("Update now"));
    connect(now, &QPushButton::clicked, this, &AppUpdate::ClickedOKBtn);
    QPushButton *later = box->addButton(QMessageBox::Cancel);
    later->setText(tr("Later"));
    connect(later, &QPushButton::clicked, this, &AppUpdate::ClickedCancelBtn);
    box->show();
}

// A box of its own, not the main window's child: it would take on the window's black look.
// It belongs to the trainer's window all the same: it neither keeps the program running once
// that window is closed nor stays open after it.
QMessageBox *AppUpdate::showBox(QMessageBox::Icon icon, const QString &title, const QString &text)
{
    if (m_box)
        m_box->close(); // deleted later: this may run inside one of its buttons' signals
    m_box = new QMessageBox(icon, title, text, QMessageBox::NoButton);
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    m_box->setAttribute(Qt::WA_QuitOnClose, false);
    m_box->setModal(false);
    connect(qApp, &QGuiApplication::lastWindowClosed, m_box.data(), &QWidget::close);
    return m_box;
}

void AppUpdate::reportNoUpdater(const QString &updater)
{
    QMessageBox *box = showBox(QMessageBox::Warning, tr("ZORVA update"),
        tr("The updater %1 could not be started, so ZORVA has not been updated.")
            .arg(QDir::toNativeSeparators(updater)));
    box->addButton(QMessageBox::Ok);
    box->show();
}

void AppUpdate::ClickedOKBtn(bool checked)
{
    Q_UNUSED(checked)
    const QString folder = QDir::currentPath();
    const QString copyPath
        = folder + QLatin1Char('/') + executableName(QStringLiteral("update_tmp"));
    const QString sourcePath = folder + QLatin1Char('/') + executableName(QStringLiteral("update"));

    if (QFile::exists(copyPath))
        QFile::remove(copyPath);
    if (!QFile::copy(sourcePath, copyPath)) {
        qWarning() << "Cannot copy the updater" << sourcePath << "to" << copyPath;
        reportNoUpdater(sourcePath);
        return;
    }
    QFile::setPermissions(copyPath, QFile::permissions(sourcePath));

    const QStringList arguments { QString::number(BuiltInVersion), m_serverVersion };
    // Quitting without a running updater would leave the learner with nothing.
    if (!QProcess::startDetached(copyPath, arguments, folder)) {
        qWarning() << "Cannot start the updater" << copyPath;
        reportNoUpdater(sourcePath);
        return;
    }
    QCoreApplication::exit(0);
}

void AppUpdate::ClickedCancelBtn(bool checked)
{
    Q_UNUSED(checked)
}
