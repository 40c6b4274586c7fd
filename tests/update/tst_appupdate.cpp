#include "appupdate.h"

#include "testhttpserver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

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

// Runs the application's loop with a click on the question's button queued first: the
// loop's exit code, or 99 when nothing ended it within fallbackMs.
int clickAndRun(QMessageBox::StandardButton which, int fallbackMs)
{
    QTimer::singleShot(0, questionBox()->button(which), &QAbstractButton::click);
    QTimer::singleShot(fallbackMs, qApp, [] { QCoreApplication::exit(99); });
    return QCoreApplication::exec();
}

} // namespace

class TestAppUpdate : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void questionOnlyForNewerVersion_data();
    void questionOnlyForNewerVersion();
    void answerWithoutHandoverKeepsRunning_data();
    void answerWithoutHandoverKeepsRunning();
    void okStartsUpdaterCopyAndQuits();

private:
    // Publishes the version file, runs the check and waits until its answer was evaluated.
    void check(const QByteArray &serverVersion);

    QTemporaryDir m_install;
    QTemporaryDir m_www;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<AppUpdate> m_check;
    // The trainer's own window, as when the check runs for real: closing the box
    // must not be mistaken for closing the last window.
    QWidget m_trainerWindow;
};

void TestAppUpdate::init()
{
    QVERIFY(QDir::setCurrent(m_install.path()));
    QVERIFY(QDir(m_www.path()).mkpath(QStringLiteral("software/ZORVA/upgrade")));
    m_server = std::make_unique<TestHttpServer>(m_www.path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
    qputenv("ZORVA_UPDATE_URL", m_server->baseUrl().toUtf8() + "/");
    m_trainerWindow.show();
}

void TestAppUpdate::cleanup()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(widget))
            delete widget;
    }
    m_check.reset();
    m_server.reset();
    for (const QString &name : QDir(m_install.path()).entryList(QDir::Files))
        QFile::remove(m_install.filePath(name));
}

void TestAppUpdate::check(const QByteArray &serverVersion)
{
    QFile file(m_www.path() + versionPath);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(serverVersion) == serverVersion.size());
    file.close();
    qRegisterMetaType<QNetworkReply *>();
    m_check = std::make_unique<AppUpdate>();
    QSignalSpy answered(m_check->findChild<QNetworkAccessManager *>(), &QNetworkAccessManager::finished);
    QVERIFY(m_check->CheckVersion());
    QVERIFY(answered.wait(20000));
}

void TestAppUpdate::questionOnlyForNewerVersion_data()
{
    QTest::addColumn<bool>("serverUp");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("asks");
    QTest::newRow("same version") << true << QByteArray("1306") << false;
    QTest::newRow("newer version") << true << QByteArray("1307") << true;
    QTest::newRow("spaces and CRLF") << true << QByteArray("  1308 \r\n") << true;
    QTest::newRow("not a number") << true << QByteArray("latest") << false;
    QTest::newRow("digits then words") << true << QByteArray("1307 beta") << false;
    QTest::newRow("hexadecimal") << true << QByteArray("0x51B") << false;
    QTest::newRow("no server") << false << QByteArray("1307") << false;
}

// Nothing but the question ever shows: no error box when the server is away.
void TestAppUpdate::questionOnlyForNewerVersion()
{
    QFETCH(bool, serverUp);
    QFETCH(QByteArray, body);
    QFETCH(bool, asks);
    if (!serverUp)
        m_server->stop();
    check(body);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(int(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); })),
        asks ? 2 : 1);
    QMessageBox *box = questionBox();
    QCOMPARE(box != nullptr, asks);
    if (box) {
        QCOMPARE(box->text(), QStringLiteral("发现新的软件版本，是否立即更新？"));
        QVERIFY(!box->isModal());
        QCOMPARE(box->buttons(),
            QList<QAbstractButton *>({ box->button(QMessageBox::Ok), box->button(QMessageBox::Cancel) }));
    }
}

void TestAppUpdate::answerWithoutHandoverKeepsRunning_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("cancel") << QMessageBox::Cancel;
    QTest::newRow("ok without an updater") << QMessageBox::Ok;
}

void TestAppUpdate::answerWithoutHandoverKeepsRunning()
{
    QFETCH(QMessageBox::StandardButton, answer);
    check("1307");
    QVERIFY(questionBox());
    QCOMPARE(clickAndRun(answer, 1500), 99);
    QVERIFY(!questionBox());
    QVERIFY(!QFile::exists(QStringLiteral("update_tmp")));
}

void TestAppUpdate::okStartsUpdaterCopyAndQuits()
{
    QVERIFY(QFile::copy(QStringLiteral(ZORVA_STANDIN_PROGRAM), QStringLiteral("update")));
    // A copy left behind by an earlier update must be replaced, not kept.
    QVERIFY(QFile::copy(QStringLiteral("update"), QStringLiteral("update_tmp")));
    QVERIFY(QFile::resize(QStringLiteral("update_tmp"), 10));
    check("1307\n"); // as servers commonly write it; the updater gets the number
    QVERIFY(questionBox());
    QCOMPARE(clickAndRun(QMessageBox::Ok, 20000), 0);

    QFile record(QStringLiteral("standin-record.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(record.exists(), 20000);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(record.readAll()).toVariant().toStringList(),
        QStringList({ "update_tmp", m_install.path(), "1306", "1307" }));
    QCOMPARE(QFileInfo(QStringLiteral("update_tmp")).size(), QFileInfo(QStringLiteral("update")).size());
}

QTEST_MAIN(TestAppUpdate)
#include "tst_appupdate.moc"
