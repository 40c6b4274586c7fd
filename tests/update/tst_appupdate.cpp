#include "appupdate.h"

#include "clicks.h"
#include "misbehavingserver.h"
#include "testhttpserver.h"
#include "testpaths.h"
#include "zipfixtures.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>

#include <algorithm>

using namespace ZipFixtures;

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

class TestAppUpdate : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void questionOnlyForNewerVersion_data();
    void questionOnlyForNewerVersion();
    void answers_data();
    void answers();

private:
    // Serves the version file, runs the check and waits until its answer was evaluated.
    void check(const QByteArray &body, const QString &server = "nginx");

    QTemporaryDir m_install, m_www;
    std::unique_ptr<AppUpdate> m_check;
    QWidget m_trainerWindow; // as when the check runs for real
};

void TestAppUpdate::init()
{
    QVERIFY(QDir(m_install.path()).removeRecursively() && QDir().mkpath(m_install.path())
        && QDir::setCurrent(m_install.path()));
    m_trainerWindow.show();
}

void TestAppUpdate::check(const QByteArray &body, const QString &server)
{
    const QString path = "/software/ZORVA/upgrade/version.txt";
    TestHttpServer nginx(m_www.path());
    QVERIFY(QDir(m_www.path()).mkpath("software/ZORVA/upgrade") && writeFile(m_www.path() + path, body));
    QVERIFY2(server != "nginx" || nginx.start(), qPrintable(nginx.errorString()));
    MisbehavingServer odd(server == "error" ? MisbehavingServer::ErrorStatus : MisbehavingServer::Silent);
    odd.files.insert(path.toUtf8(), body);
    const QString url = server == "nginx" ? nginx.baseUrl() : server == "down" ? "http://127.0.0.1:9" : odd.baseUrl();
    qputenv("ZORVA_UPDATE_URL", url.toUtf8() + "/");
    qRegisterMetaType<QNetworkReply *>();
    m_check = std::make_unique<AppUpdate>();
    m_check->setTransferTimeout(1000);
    QSignalSpy answered(m_check->findChild<QNetworkAccessManager *>(), &QNetworkAccessManager::finished);
    QVERIFY(m_check->CheckVersion() && answered.wait(20000));
}

void TestAppUpdate::questionOnlyForNewerVersion_data()
{
    QTest::addColumn<QString>("server"); // nginx, down, or how a misbehaving one answers
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("asks");
    QTest::newRow("same version") << "nginx" << QByteArray("1306") << false;
    QTest::newRow("newer version") << "nginx" << QByteArray("1307") << true;
    QTest::newRow("spaces and CRLF") << "nginx" << QByteArray("  1308 \r\n") << true;
    QTest::newRow("not a number") << "nginx" << QByteArray("1307 beta") << false;
    QTest::newRow("no server") << "down" << QByteArray("1307") << false;
    QTest::newRow("error page of digits") << "error" << QByteArray("1307") << false;
    QTest::newRow("server that never answers") << "silent" << QByteArray("1307") << false;
}

// Nothing but the question ever shows: no error box when the server is away.
void TestAppUpdate::questionOnlyForNewerVersion()
{
    QFETCH(QString, server);
    QFETCH(QByteArray, body);
    QFETCH(bool, asks);
    check(body, server);
    QCOMPARE(Clicks::visibleBox() ? Clicks::visibleBox()->text() : "", asks ? "发现新的软件版本，是否立即更新？" : "");
}

void TestAppUpdate::answers_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer"); // NoButton: the trainer's window is closed
    QTest::addColumn<QByteArray>("updater"); // what stands where the updater belongs
    QTest::addColumn<int>("exitCode"); // of the trainer's loop; 99: still running
    const QByteArray recorder = "#!/bin/sh\nprintf '%s\\n' \"${0##*/}\" \"$(pwd)\" \"$@\" >r && mv r record\n";
    QTest::newRow("ok starts the updater's copy and quits") << QMessageBox::Ok << recorder << 0;
    QTest::newRow("cancel") << QMessageBox::Cancel << recorder << 99;
    QTest::newRow("window closed: the question goes with it") << QMessageBox::NoButton << recorder << 0;
    QTest::newRow("ok without an updater") << QMessageBox::Ok << QByteArray() << 99;
    QTest::newRow("ok with an updater that cannot run") << QMessageBox::Ok << QByteArray("not a program") << 99;
}

// When the updater cannot be started, the learner is told so, readably, in their language.
void TestAppUpdate::answers()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QByteArray, updater);
    QFETCH(int, exitCode);
    const auto mode = QFileDevice::Permissions(updater.startsWith("#!") ? 0x7700 : 0x6600); // rwx or rw-
    QVERIFY(updater.isEmpty() || (writeFile("update", updater) && QFile::setPermissions("update", mode)));
    QVERIFY(writeFile("update_tmp", "left over")); // by an earlier update: replaced, not kept
    QTranslator chinese;
    QVERIFY(chinese.load(TestPaths::stageDir() + "/translations/app_zh.qm"));
    QCoreApplication::installTranslator(&chinese);
    check("1307\n"); // as servers commonly write it; the updater gets the number
    const auto act
        = [this, answer] { answer ? Clicks::visibleBox()->button(answer)->click() : void(m_trainerWindow.close()); };
    QCOMPARE(Clicks::runLoop(exitCode ? 1500 : 20000, act), exitCode);
    QCoreApplication::removeTranslator(&chinese);
    QMessageBox *warning = Clicks::visibleBox();
    QCOMPARE(warning != nullptr, exitCode && answer == QMessageBox::Ok);
    const QImage grey = warning ? warning->grab().toImage().convertToFormat(QImage::Format_Grayscale8) : QImage();
    const uchar *first = grey.constBits(), *last = first + grey.sizeInBytes();
    const qint64 light = std::count_if(first, last, [](uchar g) { return g > 200; });
    // Readable: mostly light, with dark writing on it; and in the learner's language.
    QVERIFY(!warning
        || (light > grey.sizeInBytes() / 2 && std::count_if(first, last, [](uchar g) { return g < 80; }) > 50));
    QVERIFY(!warning || warning->text().contains("更新程序"));
    const QByteArray record = "update_tmp\n" + m_install.path().toUtf8() + "\n1306\n1307\n";
    QTRY_COMPARE_WITH_TIMEOUT(readFile("record"), !exitCode && answer ? record : QByteArray(), 20000);
}

QTEST_MAIN(TestAppUpdate)
#include "tst_appupdate.moc"
