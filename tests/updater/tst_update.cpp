#include "update.h"

#include "downloadcontrol.h"
#include "testhttpserver.h"
#include "zipfixtures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using ZipFixtures::readFile;
using ZipFixtures::writeFile;
using ZipFixtures::writeZip;

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

// Runs the application's loop with a click queued first: the loop's exit code, or 99
// when nothing ended it within fallbackMs.
int clickAndRun(QAbstractButton *button, int fallbackMs)
{
    QTimer::singleShot(0, button, &QAbstractButton::click);
    QTimer::singleShot(fallbackMs, qApp, [] { QCoreApplication::exit(99); });
    return QCoreApplication::exec();
}

QStringList zipFilesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.zip")}, QDir::Files);
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void nothingToUpdate_data();
    void nothingToUpdate();
    void installsEachVersionInTurn_data();
    void installsEachVersionInTurn();
    void stopsAtBrokenArchive();
    void failsBeforeUnpacking_data();
    void failsBeforeUnpacking();

private:
    void publish(int version, const QList<ZipFixtures::Entry> &entries);
    void startUpdater(update &window, const QString &current, const QString &target);
    // Requests of the access log as "METHOD /uri".
    QStringList requests() const;

    std::unique_ptr<QTemporaryDir> m_root; // "inst" is the installation folder
    std::unique_ptr<QTemporaryDir> m_www;
    std::unique_ptr<TestHttpServer> m_server;
};

void TestUpdate::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    m_www = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid() && m_www->isValid());
    QVERIFY(QDir(m_root->path()).mkpath(QStringLiteral("inst")));
    QVERIFY(QDir::setCurrent(m_root->filePath(QStringLiteral("inst"))));
    QVERIFY(QDir(m_www->path()).mkpath(upgradePath));
    m_server = std::make_unique<TestHttpServer>(m_www->path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
    qputenv("ZORVA_UPDATE_URL", m_server->baseUrl().toUtf8());
    QVERIFY(writeFile(QStringLiteral("version.txt"), "1306"));
}

void TestUpdate::cleanup()
{
    m_server.reset();
    QDir::setCurrent(QDir::tempPath());
    m_root.reset();
    m_www.reset();
}

void TestUpdate::publish(int version, const QList<ZipFixtures::Entry> &entries)
{
    QVERIFY(writeZip(m_www->filePath(upgradePath + QString::number(version) + QStringLiteral(".zip")), entries));
}

void TestUpdate::startUpdater(update &window, const QString &current, const QString &target)
{
    window.SetCurrentVersion(current);
    window.SetTargetVersion(target);
    window.BuildVersionList();
    window.show();
    window.StartUpdate();
}

QStringList TestUpdate::requests() const
{
    QStringList lines;
    for (const QString &line : m_server->accessLog())
        lines.append(line.section(QLatin1Char(' '), 0, 1));
    return lines;
}

void TestUpdate::nothingToUpdate_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("target");
    QTest::newRow("same version") << "1306" << "1306";
    QTest::newRow("target not a number") << "1306" << "newest";
}

void TestUpdate::nothingToUpdate()
{
    QFETCH(QString, current);
    QFETCH(QString, target);
    publish(1307, {{"version.txt", "1307"}});
    update window;
    startUpdater(window, current, target);
    QMessageBox *box = findBox(QStringLiteral("没有版本需要更新！"));
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QStringLiteral("提示"));
    QVERIFY(!box->isModal());
    QCOMPARE(box->buttons().size(), 1);
    QCOMPARE(clickAndRun(box->button(QMessageBox::Ok), 20000), 0);
    QVERIFY(requests().isEmpty());
    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1306"));
}

void TestUpdate::installsEachVersionInTurn_data()
{
    QTest::addColumn<bool>("restart");
    QTest::newRow("restart") << true;
    QTest::newRow("no restart") << false;
}

void TestUpdate::installsEachVersionInTurn()
{
    QFETCH(bool, restart);
    QVERIFY(QFile::copy(QStringLiteral(ZORVA_STANDIN_PROGRAM), QStringLiteral("ZORVA")));
    const QByteArray big = ZipFixtures::noise(400000, 8);
    publish(1307, {{"version.txt", "1307"}, {"only1307.txt", "a"}});
    publish(1308, {{"version.txt", "1308"}, {"skin/new/x.png", "png"}, {"big.bin", big, true}});
    const qint64 size1308 = QFileInfo(m_www->filePath(upgradePath + QStringLiteral("1308.zip"))).size();

    update window;
    // What lies in the installation folder while archive bytes arrive.
    QList<QStringList> zipsDuringDownload;
    connect(window.downloadControl(), &DownloadControl::DownReadyRead, this,
            [&zipsDuringDownload] { zipsDuringDownload.append(zipFilesIn(QDir::currentPath())); });
    startUpdater(window, QStringLiteral("1306"), QStringLiteral("1308"));
    QTRY_VERIFY_WITH_TIMEOUT(findBox(finalQuestion), 60000);

    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1308"));
    QCOMPARE(readFile(QStringLiteral("only1307.txt")), QByteArray("a"));
    QCOMPARE(readFile(QStringLiteral("skin/new/x.png")), QByteArray("png"));
    QVERIFY(readFile(QStringLiteral("big.bin")) == big);
    QVERIFY(zipFilesIn(QDir::currentPath()).isEmpty());
    QVERIFY(!zipsDuringDownload.isEmpty());
    for (const QStringList &zips : qAsConst(zipsDuringDownload))
        QVERIFY2(zips.size() == 1, qPrintable(zips.join(QLatin1Char(','))));
    QCOMPARE(zipsDuringDownload.first(), QStringList{"1307.zip"});
    QCOMPARE(zipsDuringDownload.last(), QStringList{"1308.zip"});

    // 1307 entirely before 1308, each fetched once in a single ranged request.
    const QString get1307 = QStringLiteral("GET /") + upgradePath + QStringLiteral("1307.zip");
    const QString get1308 = QStringLiteral("GET /") + upgradePath + QStringLiteral("1308.zip");
    // nginx logs a request only after it has sent the answer.
    QTRY_COMPARE_WITH_TIMEOUT(requests().count(get1308), 1, 10000);
    const QStringList log = requests();
    QCOMPARE(log.count(get1307), 1);
    QVERIFY(log.indexOf(get1307) < log.indexOf(QRegularExpression(QStringLiteral(".*1308\\.zip"))));
    QVERIFY(m_server->accessLog().last().contains(QStringLiteral("\"Bytes=0-%1\"").arg(size1308)));
    auto *bar = window.findChild<QProgressBar *>(QStringLiteral("progressBar"));
    QCOMPARE(bar->maximum(), int(size1308));
    QCOMPARE(bar->value(), int(size1308));

    QMessageBox *box = findBox(finalQuestion);
    QCOMPARE(box->buttons().size(), 2);
    const QString record = QDir::current().filePath(QStringLiteral("standin-record.txt"));
    QCOMPARE(clickAndRun(box->button(restart ? QMessageBox::Ok : QMessageBox::Cancel), 20000), 0);
    if (restart) {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
        const QStringList lines = QJsonDocument::fromJson(readFile(record)).toVariant().toStringList();
        QCOMPARE(lines, QStringList({QStringLiteral("ZORVA"), QDir::currentPath()}));
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
    QVERIFY(writeFile(m_www->filePath(upgradePath + QStringLiteral("1308.zip")),
                      ZipFixtures::noise(5000, 1308))); // arrives fine, but is no zip

    update window;
    startUpdater(window, QStringLiteral("1306"), QStringLiteral("1309"));
    const QString failure = QStringLiteral("1307 版本更新失败！");
    QTRY_VERIFY_WITH_TIMEOUT(findBox(failure), 60000);
    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1307"));
    QVERIFY(zipFilesIn(QDir::currentPath()).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(requests().contains(QStringLiteral("GET /") + upgradePath + QStringLiteral("1308.zip")),
                             10000);
    QVERIFY(!m_server->accessLog().join(QLatin1Char('\n')).contains(QStringLiteral("1309")));
    QVERIFY(!findBox(finalQuestion));
    QCOMPARE(clickAndRun(findBox(failure)->button(QMessageBox::Ok), 20000), 0);
}

void TestUpdate::failsBeforeUnpacking_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("archive missing on the server") << "missing";
    QTest::newRow("server down") << "down";
    QTest::newRow("hostile entry") << "hostile";
}

void TestUpdate::failsBeforeUnpacking()
{
    QFETCH(QString, situation);
    if (situation == QLatin1String("down"))
        qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:" + QByteArray::number(TestHttpServer::unusedPort()));
    if (situation == QLatin1String("hostile"))
        publish(1307, {{"version.txt", "1307"}, {"../escaped.txt", "x"}});
    publish(1308, {{"version.txt", "1308"}});

    update window;
    startUpdater(window, QStringLiteral("1306"), QStringLiteral("1308"));
    QTRY_VERIFY_WITH_TIMEOUT(findBox(QStringLiteral("1306 版本更新失败！")), 60000);
    QCOMPARE(readFile(QStringLiteral("version.txt")), QByteArray("1306"));
    QVERIFY(!QFile::exists(m_root->filePath(QStringLiteral("escaped.txt"))));
    QVERIFY(zipFilesIn(QDir::currentPath()).isEmpty());
    QVERIFY(!m_server->accessLog().join(QLatin1Char('\n')).contains(QStringLiteral("1308")));
    if (situation == QLatin1String("missing"))
        QVERIFY(!requests().join(QLatin1Char('\n')).contains(QStringLiteral("GET")));
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
