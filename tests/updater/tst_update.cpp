#include "update.h"

#include "clicks.h"
#include "downloadcontrol.h"
#include "installtransaction.h"
#include "misbehavingserver.h"
#include "testhttpserver.h"
#include "updaterfunctions.h"
#include "zipfixtures.h"

#include <QSslConfiguration>
#include <QTemporaryDir>

using namespace ZipFixtures;

namespace {

const QString upgrade = QStringLiteral("software/ZORVA/upgrade/");
const QString finalQuestion = QStringLiteral("更新完成是否重启ZORVA？"),
              failed1306 = QStringLiteral("1306 版本更新失败！");

QString boxText()
{
    return Clicks::visibleBox() ? Clicks::visibleBox()->text() : QString();
}

int clickAndRun(QMessageBox::StandardButton which) // the exit code of the loop that the click ends; 99: none
{
    return Clicks::runLoop(20000, [which] { Clicks::visibleBox()->button(which)->click(); });
}

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool ran = process.waitForFinished(30000) && process.exitCode() == 0;
    return ran ? process.readAllStandardOutput().trimmed() : "failed";
}

bool writeProgram(const QString &path, const QByteArray &script)
{
    return writeFile(path, "#!/bin/sh\n" + script + "\n")
        && QFile::setPermissions(path, QFileDevice::Permissions(0x7700));
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { m_window.reset(); }
    void endsInItsBox_data();
    void endsInItsBox();
    void killedMidSwapLeavesOneVersion_data();
    void killedMidSwapLeavesOneVersion();

private:
    // Signs with zorva-sign as a release does; "release" is the key the updater trusts.
    QByteArray sign(int version, const QString &key = "release", int signedVersion = 0);
    void publish(int version, const QList<Entry> &entries);
    void startUpdater(const QString &target, const QString &server);

    QTemporaryDir m_keys, m_install;
    std::unique_ptr<QTemporaryDir> m_www;
    std::unique_ptr<update> m_window;
    bool m_overSize = false; // an archive on disk grew past its declared size
};

void TestUpdate::initTestCase()
{
    const QByteArray key = run(ZORVA_SIGN_PROGRAM, { "keygen", m_keys.filePath("release") });
    QVERIFY(run(ZORVA_SIGN_PROGRAM, { "keygen", m_keys.filePath("other") }).size() == 44 && key.size() == 44);
    qputenv("ZORVA_UPDATE_PUBLIC_KEY", key);
    QCOMPARE(UpdaterFunctions::partRange(3, 1, 4).first, 0); // 3 bytes in 4 parts: none may start before byte 0
}

// The installation holds version 1306 and what a run killed before its journal left behind.
void TestUpdate::init()
{
    QVERIFY(QDir(m_install.path()).removeRecursively() && QDir().mkpath(m_install.path() + "/.zorva-unpack-AbC/new"));
    QVERIFY(QDir::setCurrent(m_install.path()) && writeFile("version.txt", "1306"));
    m_www = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_www->path()).mkpath(upgrade));
    m_overSize = false;
}

QByteArray TestUpdate::sign(int version, const QString &key, int signedVersion)
{
    const QString zip = m_www->filePath(upgrade + QString::number(version) + ".zip");
    return run(ZORVA_SIGN_PROGRAM,
        { "sign", m_keys.filePath(key), zip, QString::number(signedVersion ? signedVersion : version) });
}

void TestUpdate::publish(int version, const QList<Entry> &entries)
{
    QVERIFY(writeZip(m_www->filePath(upgrade + QString::number(version) + ".zip"), entries) && sign(version).isEmpty());
}

void TestUpdate::startUpdater(const QString &target, const QString &server)
{
    qputenv("ZORVA_UPDATE_URL", server.toUtf8());
    m_window = std::make_unique<update>();
    m_window->SetCurrentVersion("1306");
    m_window->SetTargetVersion(target);
    m_window->BuildVersionList();
    QVERIFY(m_window->pendingArchives().size() <= 100); // a bogus target once exhausted memory
    m_window->show();
    DownloadControl *downloader = m_window->downloadControl();
    downloader->setTransferTimeout(2000);
    downloader->setDeadline(6000);
    connect(downloader, &DownloadControl::DownReadyRead, this, [this, downloader] {
        m_overSize = m_overSize || QFileInfo(downloader->fileName()).size() > downloader->expectedSize();
    });
    m_window->StartUpdate();
}

void TestUpdate::endsInItsBox_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("fault"); // of the misbehaving server; -1: nginx
    QTest::addColumn<QString>("box");
    QTest::newRow("signed chain, restart") << "chain" << -1 << finalQuestion;
    QTest::newRow("signed chain over https, no restart") << "https" << -1 << finalQuestion;
    QTest::newRow("signed chain, trainer cannot start") << "no trainer" << -1 << finalQuestion;
    QTest::newRow("nothing newer") << "none" << -1 << "没有版本需要更新！";
    QTest::newRow("tampered archive") << "tamper" << -1 << failed1306;
    QTest::newRow("no signature") << "unsigned" << -1 << failed1306;
    QTest::newRow("old signed archive under a newer number") << "replay" << -1 << failed1306;
    QTest::newRow("signature of another key") << "other key" << -1 << failed1306;
    QTest::newRow("archive missing, target huge") << "missing" << -1 << failed1306;
    QTest::newRow("server down") << "down" << -1 << failed1306;
    QTest::newRow("second archive no zip") << "garbage" << -1 << "1307 版本更新失败！"; // 1309 never fetched
    // Signed, yet broken or hostile: nothing half-installed, nothing written outside.
    QTest::newRow("entry that cannot be read") << "flip" << -1 << failed1306;
    QTest::newRow("entry leaving the folder") << "leave" << -1 << failed1306;
    QTest::newRow("absolute entry") << "absolute" << -1 << failed1306;
    QTest::newRow("entry named like the install journal") << "journal" << -1 << failed1306;
    QTest::newRow("a folder where a file goes") << "folder" << -1 << failed1306;
    // Folder x made, version.txt already swapped when the file x fails: all goes back.
    QTest::newRow("failure in the middle of the swap") << "swap" << -1 << failed1306;
    const QStringList faults { "no answer", "error status", "more bytes than the range", "lies about the size",
        "over 2 GiB", "trickles below the inactivity timeout", "drops the connection once" };
    for (int fault = 0; fault < faults.size(); ++fault)
        QTest::newRow(qPrintable(faults[fault]))
            << "" << fault << (fault < faults.size() - 1 ? failed1306 : finalQuestion);
}

// Each ends in its box within the deadline, with no archive over its declared size on disk,
// one version installed complete and nothing left behind.
void TestUpdate::endsInItsBox()
{
    QFETCH(QString, situation);
    QFETCH(int, fault);
    QFETCH(QString, box);
    const QString target = QMap<QString, QString> {
        { "none", "1306" }, { "missing", "2147483647" }, { "garbage", "1309" }, { "", "1307" }
    }.value(situation, "1308");
    const QMap<QString, QList<Entry>> hostile { { "leave", { { "../outside.txt", "x" } } },
        { "folder", { { "skin", "x" } } }, { "absolute", { { m_www->filePath("absolute.txt"), "x" } } },
        { "swap", { { "x/y", "y" }, { "x", "x" } } }, { "journal", { { ".zorva-install-journal", "{}" } } } };
    publish(1307,
        QList<Entry> { { "version.txt", "1307" }, { "only1307.txt", noise(40000, 7) } } + hostile.value(situation));
    publish(1308,
        { { "version.txt", "1308" }, { "skin/new/x.png", "png" }, { "res/", {} }, { "big.bin", noise(400000, 8) } });
    publish(1309, { { "version.txt", "1309" } });
    const QString zip = m_www->filePath(upgrade + "1307.zip");
    QByteArray bytes = readFile(zip);
    const int inData = bytes.indexOf("only1307.txt") + 20000;
    bytes[inData] = char(bytes.at(inData) ^ (situation == "flip" ? 0x5a : 0));
    QVERIFY(writeFile(zip, bytes) && sign(1307).isEmpty() && (situation != "folder" || QDir().mkpath("skin")));
    QVERIFY(situation != "tamper" || writeZip(zip, { { "version.txt", "1307!" } }));
    QVERIFY((situation != "unsigned" && situation != "missing") || QFile::remove(zip + ".sig"));
    QVERIFY(situation != "missing" || QFile::remove(zip));
    QVERIFY(situation != "replay" || sign(1307, "release", 1306).isEmpty());
    QVERIFY(situation != "other key" || sign(1307, "other").isEmpty());
    QVERIFY(situation != "garbage"
        || (writeFile(m_www->filePath(upgrade + "1308.zip"), noise(5000, 1)) && sign(1308).isEmpty()));
    QVERIFY(situation != "chain"
        || writeProgram("ZORVA", "printf '%s\\n' \"${0##*/}\" \"$(pwd)\" \"$@\" >r && mv r record"));
    TestHttpServer nginx(m_www->path(), situation == "https");
    QVERIFY2(situation == "down" || nginx.start(), qPrintable(nginx.errorString()));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    QVERIFY(situation != "https" || tls.addCaCertificates(nginx.certificateFile()));
    QSslConfiguration::setDefaultConfiguration(tls);
    MisbehavingServer odd(MisbehavingServer::Fault(qMax(fault, 0)));
    for (const QString &file : { upgrade + "1307.zip", upgrade + "1307.zip.sig" })
        odd.files.insert("/" + file.toUtf8(), readFile(m_www->filePath(file)));

    const QTime started = QTime::currentTime();
    startUpdater(target, fault < 0 ? nginx.baseUrl() : odd.baseUrl());
    QTRY_COMPARE_WITH_TIMEOUT(boxText(), box, 30000);
    QVERIFY2(started.msecsTo(QTime::currentTime()) < 20000, qPrintable(started.toString()));
    const QString version = box.startsWith("1307") ? "1307" : box == finalQuestion ? target : "1306";
    QVERIFY(readFile("version.txt") == version && !m_overSize
        && QDir().entryList({ ".zorva-*", "*.zip" }, QDir::AllEntries | QDir::Hidden).isEmpty());
    QVERIFY(fault < MisbehavingServer::ExtraBytes || odd.lastHead.contains("Accept-Encoding: identity"));
    QVERIFY(!nginx.accessLog().join(' ').contains("1309") && !QFile::exists("x") && !QFile::exists("../outside.txt"));
    QVERIFY(!QFile::exists(m_www->filePath("absolute.txt")));
    if (fault < 0 && box == finalQuestion) { // each archive after its signature, in one ranged request
        QVERIFY(readFile("only1307.txt") == noise(40000, 7) && readFile("big.bin") == noise(400000, 8));
        const QString get = "GET /" + upgrade,
                      size = QString::number(QFileInfo(m_www->filePath(upgrade + "1308.zip")).size());
        QTRY_COMPARE_WITH_TIMEOUT(nginx.accessLog().replaceInStrings(QRegularExpression(" \\d+ .*"), "").filter("GET "),
            QStringList({ get + "1307.zip.sig", get + "1307.zip", get + "1308.zip.sig", get + "1308.zip" }), 10000);
        QVERIFY(nginx.accessLog().last().contains("\"Bytes=0-" + size + "\""));
        QVERIFY(readFile("skin/new/x.png") == "png" && QDir("res").exists());
    }
    if (situation == "no trainer") { // the learner is told, and the updater ends with that box's OK
        Clicks::visibleBox()->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(boxText().startsWith("无法启动ZORVA"));
    }
    const bool restart = situation == "chain" || situation == "no trainer";
    QCOMPARE(clickAndRun(box == finalQuestion && !restart ? QMessageBox::Cancel : QMessageBox::Ok), 0);
    const QByteArray record = situation == "chain" ? "ZORVA\n" + QDir::currentPath().toUtf8() + "\n" : QByteArray();
    QTest::qWait(situation == "https" ? 1500 : 0); // ample time for a wrong start to show
    QTRY_COMPARE_WITH_TIMEOUT(readFile("record"), record, 20000);
}

void TestUpdate::killedMidSwapLeavesOneVersion_data()
{
    QTest::addColumn<int>("stopAfter");
    QTest::addColumn<bool>("trainerNext"); // else the updater runs again
    QTest::addColumn<QByteArray>("version");
    QTest::newRow("trainer rolls back") << 1 << true << QByteArray("1306");
    QTest::newRow("trainer finishes after the last file") << 3 << true << QByteArray("1307");
    QTest::newRow("updater rolls back and installs") << 1 << false << QByteArray("1307");
}

// The built updater, killed by its test hook in the middle of the swap. The programs must start
// whatever the archive says, and nobody but the owner may change what the learner runs.
void TestUpdate::killedMidSwapLeavesOneVersion()
{
    QFETCH(int, stopAfter);
    QFETCH(bool, trainerNext);
    QFETCH(QByteArray, version);
    TestHttpServer server(m_www->path());
    QVERIFY2(server.start(), qPrintable(server.errorString()));
    QVERIFY(writeFile("update", "1306") && writeProgram("ZORVA", "echo 1306") && QDir().mkpath("new"));
    QVERIFY(writeFile("new/version.txt", "1307") && writeFile("new/update", "1307")
        && writeProgram("new/ZORVA", "echo 1307"));
    const auto rw_rw_rw_ = QFileDevice::Permissions(0x6666), rw_______ = QFileDevice::Permissions(0x6600);
    QVERIFY(QFile::setPermissions("new/version.txt", rw_rw_rw_) && QFile::setPermissions("new/update", rw_______));
    const QString zip = m_www->filePath(upgrade + "1307.zip"); // by the zip tool, which keeps Unix modes
    QVERIFY(
        run("sh", { "-c", "cd new && zip -q " + zip + " version.txt update ZORVA && cd .. && rm -r new" }).isEmpty());
    QVERIFY(sign(1307).isEmpty());
    QProcess updater;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZORVA_UPDATE_URL", server.baseUrl());
    environment.insert("ZORVA_UPDATE_STOP_AFTER_FILES", QString::number(stopAfter));
    updater.setProcessEnvironment(environment);
    updater.start(ZORVA_UPDATER_PROGRAM, { "1306", "1307" });
    QVERIFY(updater.waitForFinished(60000) && updater.exitStatus() == QProcess::CrashExit);
    QVERIFY(QFile::exists(".zorva-install-journal"));
    if (trainerNext) {
        QVERIFY(recoverInterruptedInstall(QDir::currentPath()));
    } else {
        startUpdater("1307", server.baseUrl());
        QTRY_COMPARE_WITH_TIMEOUT(boxText(), finalQuestion, 60000);
    }
    QVERIFY(readFile("version.txt") == version && readFile("update") == version);
    QCOMPARE(run("./ZORVA", {}), version); // rw-rw-rw- in the archive gives rw-r--r--, the programs are rwxr-xr-x:
    const auto mode = [](const char *file) { return int(QFile::permissions(file) & 0x7777); };
    QVERIFY(
        version == "1306" || (mode("version.txt") == 0x6644 && mode("update") == 0x7755 && mode("ZORVA") == 0x7755));
    QCOMPARE(QDir().entryList({ ".zorva-*" }, QDir::AllEntries | QDir::Hidden), QStringList()); // the archive may stay
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
