#include "appupdate.h"

#include "testhttpserver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString versionPath = QStringLiteral("/software/ZORVA/upgrade/version.txt");

QMessageBox *questionBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->isVisible() && box->windowTitle() == QStringLiteral("升级提醒"))
            return box;
    }
    return nullptr;
}

QStringList readRecord(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).toVariant().toStringList();
}

} // namespace

class TestAppUpdate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<QNetworkReply *>(); }
    void init();
    void cleanup();

    void parseServerVersion_data();
    void parseServerVersion();

    void questionOnlyForNewerVersion_data();
    void questionOnlyForNewerVersion();
    void unreachableServerShowsNothing();
    void cancelKeepsRunning();
    void okStartsUpdaterCopyAndQuits();
    void okWithoutUpdaterKeepsRunning();

private:
    void publishVersion(const QByteArray &body);
    // Runs the check against the server and waits until its answer was evaluated.
    void checkAndWait(AppUpdate &check);
    // Runs the application's event loop with `action` queued first; the loop's code,
    // or 99 when nothing ended it within `fallbackMs`.
    int runLoop(const std::function<void()> &action, int fallbackMs);

    std::unique_ptr<QTemporaryDir> m_install;
    std::unique_ptr<QTemporaryDir> m_www;
    std::unique_ptr<TestHttpServer> m_server;
    // The trainer's own window, as when the check runs for real: closing the box
    // must not be mistaken for closing the last window.
    std::unique_ptr<QWidget> m_trainerWindow;
};

void TestAppUpdate::init()
{
    m_install = std::make_unique<QTemporaryDir>();
    m_www = std::make_unique<QTemporaryDir>();
    QVERIFY(m_install->isValid() && m_www->isValid());
    QVERIFY(QDir::setCurrent(m_install->path()));
    QVERIFY(QDir(m_www->path()).mkpath(QStringLiteral("software/ZORVA/upgrade")));
    m_server = std::make_unique<TestHttpServer>(m_www->path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
    qputenv("ZORVA_UPDATE_URL", m_server->baseUrl().toUtf8() + "/");
    m_trainerWindow = std::make_unique<QWidget>();
    m_trainerWindow->show();
}

void TestAppUpdate::cleanup()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(widget))
            delete widget;
    }
    m_trainerWindow.reset();
    m_server.reset();
    QDir::setCurrent(QDir::tempPath());
    m_install.reset();
    m_www.reset();
}

void TestAppUpdate::publishVersion(const QByteArray &body)
{
    QFile file(m_www->path() + versionPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(body);
}

void TestAppUpdate::checkAndWait(AppUpdate &check)
{
    auto *manager = check.findChild<QNetworkAccessManager *>();
    QVERIFY(manager);
    QSignalSpy answered(manager, &QNetworkAccessManager::finished);
    QVERIFY(check.CheckVersion());
    QVERIFY(answered.wait(20000));
}

int TestAppUpdate::runLoop(const std::function<void()> &action, int fallbackMs)
{
    QTimer::singleShot(0, qApp, action);
    QTimer::singleShot(fallbackMs, qApp, [] { QCoreApplication::exit(99); });
    return QCoreApplication::exec();
}

void TestAppUpdate::parseServerVersion_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("version");
    QTest::newRow("plain") << QByteArray("1307") << 1307;
    QTest::newRow("trailing newline") << QByteArray("1307\n") << 1307;
    QTest::newRow("spaces and CRLF") << QByteArray("  1308 \r\n") << 1308;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("words") << QByteArray("not found") << 0;
    QTest::newRow("digits then words") << QByteArray("1307 beta") << 0;
    QTest::newRow("hexadecimal") << QByteArray("0x51B") << 0;
    QTest::newRow("html page") << QByteArray("<html>1400</html>") << 0;
}

void TestAppUpdate::parseServerVersion()
{
    QFETCH(QByteArray, body);
    QFETCH(int, version);
    QCOMPARE(AppUpdate::parseServerVersion(body), version);
}

void TestAppUpdate::questionOnlyForNewerVersion_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("asks");
    QTest::newRow("same version") << QByteArray("1306") << false;
    QTest::newRow("older version") << QByteArray("1200") << false;
    QTest::newRow("newer version") << QByteArray("1307") << true;
    QTest::newRow("newer with newline") << QByteArray("1307\n") << true;
    QTest::newRow("not a number") << QByteArray("latest") << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestAppUpdate::questionOnlyForNewerVersion()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, asks);
    publishVersion(body);
    AppUpdate check;
    checkAndWait(check);
    QCOMPARE(questionBox() != nullptr, asks);
    // nginx logs a request only after it has sent the answer.
    QTRY_COMPARE_WITH_TIMEOUT(m_server->accessLog().size(), 1, 10000);
    const QStringList log = m_server->accessLog();
    QVERIFY(log.first().startsWith(QStringLiteral("GET ") + versionPath + QStringLiteral(" 200")));
    if (asks) {
        QMessageBox *box = questionBox();
        QCOMPARE(box->text(), QStringLiteral("发现新的软件版本，是否立即更新？"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QVERIFY(!box->isModal());
        const QList<QAbstractButton *> buttons = box->buttons();
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(box->standardButton(buttons.at(0)), QMessageBox::Ok);
        QCOMPARE(box->standardButton(buttons.at(1)), QMessageBox::Cancel);
    }
}

void TestAppUpdate::unreachableServerShowsNothing()
{
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:" + QByteArray::number(TestHttpServer::unusedPort()));
    AppUpdate check;
    checkAndWait(check);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(widget == m_trainerWindow.get() || !widget->isVisible(), qPrintable(widget->objectName()));
}

void TestAppUpdate::cancelKeepsRunning()
{
    publishVersion("1307");
    AppUpdate check;
    checkAndWait(check);
    QMessageBox *box = questionBox();
    QVERIFY(box);
    QAbstractButton *cancel = box->button(QMessageBox::Cancel);
    QCOMPARE(runLoop([cancel] { cancel->click(); }, 1500), 99);
    QVERIFY(!questionBox());
    QVERIFY(!QFile::exists(QStringLiteral("update_tmp")));
}

void TestAppUpdate::okStartsUpdaterCopyAndQuits()
{
    publishVersion("1307\n");
    QVERIFY(QFile::copy(QStringLiteral(ZORVA_STANDIN_PROGRAM), QStringLiteral("update")));
    // A copy left behind by an earlier update must be replaced, not kept.
    QFile stale(QStringLiteral("update_tmp"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("stale copy");
    stale.close();

    AppUpdate check;
    checkAndWait(check);
    QMessageBox *box = questionBox();
    QVERIFY(box);
    QAbstractButton *ok = box->button(QMessageBox::Ok);
    QCOMPARE(runLoop([ok] { ok->click(); }, 20000), 0);

    const QString record = m_install->filePath(QStringLiteral("standin-record.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
    const QStringList lines = readRecord(record);
    QCOMPARE(lines, QStringList({QStringLiteral("update_tmp"), m_install->path(), QStringLiteral("1306"),
                                 QStringLiteral("1307")}));
    QCOMPARE(QFileInfo(QStringLiteral("update_tmp")).size(), QFileInfo(QStringLiteral("update")).size());
}

void TestAppUpdate::okWithoutUpdaterKeepsRunning()
{
    publishVersion("1307");
    AppUpdate check;
    checkAndWait(check);
    QMessageBox *box = questionBox();
    QVERIFY(box);
    QAbstractButton *ok = box->button(QMessageBox::Ok);
    QCOMPARE(runLoop([ok] { ok->click(); }, 1500), 99);
    QVERIFY(!QFile::exists(QStringLiteral("update_tmp")));
}

QTEST_MAIN(TestAppUpdate)
#include "tst_appupdate.moc"
