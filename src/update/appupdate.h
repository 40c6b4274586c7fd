#pragma once

#include <QObject>
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

    // Sends the request and returns at once; the answer arrives in RequestFinished.
    bool CheckVersion();

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
    QNetworkAccessManager *m_manager = nullptr;
    QString m_serverVersion;
};
