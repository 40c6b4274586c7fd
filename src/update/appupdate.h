#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

class QByteArray;
class QNetworkAccessManager;
class QNetworkReply;

// The trainer's side of updating: asks the update server for the newest version once
// and, with the learner's consent, hands over to the updater program and ends.
class AppUpdate final : public QObject
{
    Q_OBJECT
public:
    static constexpr int BuiltInVersion = 1306;

    AppUpdate();
    ~AppUpdate() override;

    // Sends the request and returns at once; the answer arrives in RequestFinished.
    bool CheckVersion();
    // Inactivity limit of the version request in milliseconds (default 30 s).
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }

    // The version number in a version file's body; 0 when it is not a decimal number.
    // Surrounding white space (a trailing newline) is allowed.
    static int parseServerVersion(const QByteArray &body);
    // ZORVA_UPDATE_URL, else the built-in default; never ends in "/".
    static QString updateServerBase();
    // "update" or "update_tmp" with the platform's program suffix.
    static QString executableName(const QString &baseName);

public slots:
    void RequestFinished(QNetworkReply *reply);
    void ClickedOKBtn(bool checked = false);
    void ClickedCancelBtn(bool checked = false);

private:
    QMessageBox *showBox(QMessageBox::Icon icon, const QString &title, const QString &text);
    void reportNoUpdater(const QString &updater);

    QNetworkAccessManager *m_manager = nullptr;
    QString m_serverVersion;
    int m_transferTimeout = 30000;
    QPointer<QMessageBox> m_box;
};
