#include "update.h"

#include "downloadcontrol.h"
#include "testhttpserver.h"
#include "zipfixtures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QMessageBox>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using ZipFixtures::readFile;
using ZipFixtures::writeFile;

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

const QString upgradePath = QStringLiteral("software/ZORVA/upgrade/");
const QString finalQuestion = QStringLiteral("更新完成是否重启ZORVA？");

QMessageBox *findBox(const QString &text)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->isVisible() && box->text() == text)
            return box;
    }
    return nullptr;
}

// Runs the application's loop with a click on the box's button queued first: the loop's
// exit code, or 99 when nothing ended it within 20 s.
int clickAndRun(const QString &boxText, QMessageBox::StandardButton which)
{
    QTimer::singleShot(0, findBox(boxText)->button(which), &QAbstractButton::click);
    QTimer::singleShot(20000, qApp, [] { QCoreApplication::exit(99); });
    return QCoreApplication::exec();
}

QStringList zipFilesHere()
{
    return QDir().entryList({QStringLiteral("*.zip")}, QDir::Files);
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nothingToUpdate();
    void installsEachVersionInTurn_data();
    void installsEachVersionInTurn();
    void stopsAtBrokenArchive();
    void failsBeforeUnpacking_data();
    void failsBeforeUnpacking();

private:
    void publish(int version, const QList<ZipFixtures::Entry> &entries);
    void startUpdater(const QString &current, const QString &target);
    // The requests of the access log as "METHOD /uri"; nginx logs a request only after it
    // has sent the answer.
    QStringList requests() const;

    std::unique_ptr<QTemporaryDir> m_install;
    std::unique_ptr<QTemporaryDir> m_www;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<update> m_window;
    QStringList m_zipsDuringDownload; // the archives in the installation folder as bytes arrive
};

void TestUpdate::init()
{
    m_install = std::make_unique<QTemporaryDir>();
    m_www = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_install->path()));
    QVERIFY(QDir(m_www->path()).mkpath(upgradePath));
    m_server = std::make_unique<TestHttpServer>(m_www->path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
    qputenv("ZORVA_UPDATE_URL", m_server->baseUrl().toUtf8());
    QVERIFY(writeFile(QStringLiteral("version.txt"), "1306"));
}

void TestUpdate::cleanup()
{
    m_window.reset();
    m_server.reset();
    m_zipsDuringDownload.clear();
    QDir::setCurrent(QDir::tempPath());
}

void TestUpdate::publish(int version, const QList<ZipFixtures::Entry> &entries)
{
    QVERIFY(ZipFixtures::writeZip(m_www->filePath(upgradePath + QString::number(version) + QStringLiteral(".zip")),
                                  entries));
}

void TestUpdate::startUpdater(const QString &current, const QString &target)
{
    m_window = std::make_unique<update>();
    m_window->SetCurrentVersion(current);
    m_window->SetTargetVersion(target);
    m_window->BuildVersionList();
    m_window->show();
    connect(m_window->downloadControl(), &DownloadControl::DownReadyRead, this,
            [this] { m_zipsDuringDownload.append(zipFilesHere().join(QLatin1Char(','))); });
    m_window->StartUpdate();
}

QStringList TestUpdate::requests() const
{
    QStringList lines;
    for (const QString &line : m_server->accessLog())
        lines.append(line.section(QLatin1Char(' '), 0, 1));
    return lines;
}

void TestUpdate::nothingToUpdate()
{
    publish(1307, {{"version.txt", "1307"}});
    startUpdater(QStringLiteral("1306"), QStringLiteral("1306"));
    QMessageBox *box = findBox(QStringLiteral("没有版本需要更新！"));
    QVERIFY(box && !box->isModal());
    QCOMPARE(clickAndRun(box->text(), QMessageBox::Ok), 0);
    QVERIFY(requests().isEmpty());
    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1306"));
}

void TestUpdate::installsEachVersionInTurn_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("restart") << QMessageBox::Ok;
    QTest::newRow("no restart") << QMessageBox::Cancel;
}

void TestUpdate::installsEachVersionInTurn()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QVERIFY(QFile::copy(QStringLiteral(ZORVA_STANDIN_PROGRAM), QStringLiteral("ZORVA")));
    const QByteArray big = ZipFixtures::noise(400000, 8);
    publish(1307, {{"version.txt", "1307"}, {"only1307.txt", "a"}});
    publish(1308, {{"version.txt", "1308"}, {"skin/new/x.png", "png"}, {"big.bin", big}});
    const qint64 size1308 = QFileInfo(m_www->filePath(upgradePath + QStringLiteral("1308.zip"))).size();

    startUpdater(QStringLiteral("1306"), QStringLiteral("1308"));
    QTRY_VERIFY_WITH_TIMEOUT(findBox(finalQuestion), 60000);

    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1308"));
    QCOMPARE(readFile(QStringLiteral("only1307.txt")), QByteArray("a"));
    QCOMPARE(readFile(QStringLiteral("skin/new/x.png")), QByteArray("png"));
    QVERIFY(readFile(QStringLiteral("big.bin")) == big);
    QVERIFY(zipFilesHere().isEmpty());
    // 1307 was fetched and deleted before 1308, each in a single ranged request.
    m_zipsDuringDownload.removeDuplicates();
    QCOMPARE(m_zipsDuringDownload, QStringList({"1307.zip", "1308.zip"}));
    const QString get = QStringLiteral("GET /") + upgradePath;
    QTRY_COMPARE_WITH_TIMEOUT(requests().filter(QStringLiteral("GET ")),
                              QStringList({get + "1307.zip", get + "1308.zip"}), 10000);
    QVERIFY(m_server->accessLog().last().contains(QStringLiteral("\"Bytes=0-%1\"").arg(size1308)));
    auto *bar = m_window->findChild<QProgressBar *>(QStringLiteral("progressBar"));
    QCOMPARE(bar->value(), int(size1308));
    QCOMPARE(bar->maximum(), int(size1308));

    QCOMPARE(clickAndRun(finalQuestion, answer), 0);
    const QString record = QStringLiteral("standin-record.txt");
    if (answer == QMessageBox::Ok) {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
        QCOMPARE(QJsonDocument::fromJson(readFile(record)).toVariant().toStringList(),
                 QStringList({QStringLiteral("ZORVA"), QDir::currentPath()}));
    } else {
        // Nothing to wait for when nothing is started; this gives a wrongly started
        // program ample time to leave its record.
        QTest::qWait(1500);
        QVERIFY(!QFile::exists(record));
    }
}

void TestUpdate::stopsAtBrokenArchive()
{
    publish(1307, {{"version.txt", "1307"}});
    publish(1309, {{"version.txt", "1309"}});
    // Arrives fine, but is no zip.
    QVERIFY(writeFile(m_www->filePath(upgradePath + QStringLiteral("1308.zip")), ZipFixtures::noise(5000, 1308)));

    startUpdater(QStringLiteral("1306"), QStringLiteral("1309"));
    const QString failure = QStringLiteral("1307 版本更新失败！");
    QTRY_VERIFY_WITH_TIMEOUT(findBox(failure), 60000);
    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1307"));
    QVERIFY(zipFilesHere().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(requests().contains(QStringLiteral("GET /") + upgradePath + QStringLiteral("1308.zip")),
                             10000);
    QVERIFY(!m_server->accessLog().join(QLatin1Char('\n')).contains(QStringLiteral("1309")));
    QVERIFY(!findBox(finalQuestion));
    QCOMPARE(clickAndRun(failure, QMessageBox::Ok), 0);
}

void TestUpdate::failsBeforeUnpacking_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("archive missing on the server") << "missing";
    QTest::newRow("server down") << "down";
}

void TestUpdate::failsBeforeUnpacking()
{
    QFETCH(QString, situation);
    if (situation == QLatin1String("down"))
        m_server->stop();
    publish(1308, {{"version.txt", "1308"}});

    startUpdater(QStringLiteral("1306"), QStringLiteral("1308"));
    QTRY_VERIFY_WITH_TIMEOUT(findBox(QStringLiteral("1306 版本更新失败！")), 60000);
    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1306"));
    QVERIFY(zipFilesHere().isEmpty());
    // A missing archive is not fetched at all (only asked for), and nothing after it is.
    if (situation == QLatin1String("missing"))
        QTRY_COMPARE_WITH_TIMEOUT(requests(), QStringList{"HEAD /" + upgradePath + "1307.zip"}, 10000);
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
