// The Debian package installed on this machine and used by a newcomer: a fresh account
// starts `zorva` on the test display, listens to a sample, records the first sentence and
// later accepts an update. Everything the programs write must land in that account's own
// folder; /opt/zorva stays as the package left it. The probe plugin drives the
// installed programs from inside and reports each stage to a file.
// Needs root (dpkg, useradd) and the package in ZORVA_PACKAGE_DEB (scripts/run-tests.sh).
#include "audiofixtures.h"
#include "testhttpserver.h"

#include <QtTest>
#include <QDirIterator>

#include <memory>

#include <unistd.h>

namespace {

const QString account = QStringLiteral("zorva-newcomer");
const QString material = QStringLiteral("lesson01.mp3");

bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ok = process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (output)
        *output = process.readAll();
    return ok;
}

// Path, size and modification time of everything under /opt/zorva.
QStringList optSnapshot()
{
    QStringList entries;
    for (QDirIterator it(QStringLiteral("/opt/zorva"), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo info(it.next());
        entries << QStringLiteral("%1 %2 %3").arg(info.filePath()).arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                          : QStringList();
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void newcomerListensAndRecords();
    void updateLandsInTheUsersFolder();

private:
    QString home(const QString &path) const { return m_scratch.filePath(QStringLiteral("home/") + path); }
    QString userFile(const QString &path) const { return home(QStringLiteral(".local/share/zorva/") + path); }
    QStringList session(const QString &script, const QString &updateUrl);

    QTemporaryDir m_scratch;
    QString m_soundModule;
    QStringList m_optBefore;
    std::unique_ptr<QProcess> m_microphone;
    QString m_updateKey; // empty: the release key built in
    int m_exit = -1;
};

void TestPackage::initTestCase()
{
    const QString package = QString::fromLocal8Bit(qgetenv("ZORVA_PACKAGE_DEB"));
    if (geteuid() != 0 || package.isEmpty())
        QSKIP("needs root and the package in ZORVA_PACKAGE_DEB (scripts/run-tests.sh builds it)");
    // The newcomer must reach their home and the probe inside the scratch folder.
    QVERIFY(QFile::setPermissions(m_scratch.path(), QFileDevice::Permissions(0x7755)));
    // Left over by an aborted run.
    run(QStringLiteral("pkill"), {QStringLiteral("-KILL"), QStringLiteral("-u"), account});
    run(QStringLiteral("userdel"), {QStringLiteral("-r"), account});
    QVERIFY(run(QStringLiteral("dpkg"), {QStringLiteral("-i"), package}));
    m_optBefore = optSnapshot();
    QVERIFY(m_optBefore.size() > 10);
    QVERIFY(run(QStringLiteral("useradd"), {QStringLiteral("-m"), QStringLiteral("-d"), home({}), account}));
    // The test's sound server listens in a folder private to root: a second socket lets the
    // newcomer in, as their own session's server would.
    QByteArray module;
    QVERIFY(run(QStringLiteral("pactl"), {QStringLiteral("load-module"), QStringLiteral("module-native-protocol-unix"),
                                          QStringLiteral("auth-anonymous=1"),
                                          QStringLiteral("socket=") + m_scratch.filePath(QStringLiteral("pulse"))}, &module));
    m_soundModule = QString::fromUtf8(module).trimmed();
    QVERIFY(QDir().mkpath(m_scratch.filePath(QStringLiteral("plugins/generic"))));
    QVERIFY(QFile::copy(QStringLiteral(ZORVA_PROBE_PLUGIN), m_scratch.filePath(QStringLiteral("plugins/generic/probe.so"))));
    // The newcomer speaks a steady tone into the virtual microphone the whole time.
    QVERIFY(AudioFixtures::makeToneWav(m_scratch.filePath(QStringLiteral("tone.wav")), 300, 440, 0.075));
    m_microphone.reset(AudioFixtures::playIntoMicrophone(m_scratch.filePath(QStringLiteral("tone.wav"))));
}

void TestPackage::cleanupTestCase()
{
    if (m_microphone)
        m_microphone->kill();
    run(QStringLiteral("pactl"), {QStringLiteral("unload-module"), m_soundModule});
    run(QStringLiteral("pkill"), {QStringLiteral("-KILL"), QStringLiteral("-u"), account});
    run(QStringLiteral("userdel"), {QStringLiteral("-r"), account});
    run(QStringLiteral("dpkg"), {QStringLiteral("--purge"), QStringLiteral("zorva")});
}

// Starts `zorva` from the PATH as the newcomer in a clean login-like environment; returns the
// probe's report once the trainer has ended.
QStringList TestPackage::session(const QString &script, const QString &updateUrl)
{
    QFile::remove(home(QStringLiteral("report")));
    QProcess zorva;
    zorva.setProcessChannelMode(QProcess::ForwardedChannels);
    zorva.start(QStringLiteral("runuser"), {
        QStringLiteral("-u"), account, QStringLiteral("--"), QStringLiteral("env"), QStringLiteral("-i"),
        QStringLiteral("HOME=") + home({}), QStringLiteral("PATH=/usr/bin:/bin"), QStringLiteral("LANG=C.UTF-8"),
        QStringLiteral("DISPLAY=") + qEnvironmentVariable("DISPLAY"),
        QStringLiteral("PULSE_SERVER=unix:") + m_scratch.filePath(QStringLiteral("pulse")),
        QStringLiteral("QT_PLUGIN_PATH=") + m_scratch.filePath(QStringLiteral("plugins")),
        QStringLiteral("QT_QPA_GENERIC_PLUGINS=zorvaprobe"), QStringLiteral("ZORVA_PROBE_SCRIPT=") + script,
        QStringLiteral("ZORVA_PROBE_REPORT=") + home(QStringLiteral("report")),
        QStringLiteral("ZORVA_PROBE_MATERIAL=") + material, QStringLiteral("ZORVA_UPDATE_URL=") + updateUrl,
        QStringLiteral("ZORVA_UPDATE_PUBLIC_KEY=") + m_updateKey, QStringLiteral("zorva")});
    if (!zorva.waitForFinished(100000)) {
        zorva.kill();
        zorva.waitForFinished();
    }
    m_exit = zorva.exitStatus() == QProcess::NormalExit ? zorva.exitCode() : -1;
    qInfo("probe: %s", qPrintable(readLines(home(QStringLiteral("report"))).join(QLatin1String(" | "))));
    return readLines(home(QStringLiteral("report")));
}

void TestPackage::newcomerListensAndRecords()
{
    QProcess speaker;
    speaker.start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("speaker.monitor"),
                                            QStringLiteral("--file-format=wav"), m_scratch.filePath(QStringLiteral("heard.wav"))});
    const QStringList report = session(QStringLiteral("train"), QStringLiteral("http://127.0.0.1:9"));
    speaker.terminate();
    speaker.waitForFinished();
    QCOMPARE(m_exit, 0);
    QCOMPARE(report.size(), 9);
    QCOMPARE(report.constFirst(), QStringLiteral("ZORVA: window ZORVA v1306"));
    QVERIFY2(report.constLast().startsWith(QStringLiteral("ZORVA: exit")), qPrintable(report.constLast()));
    // What played is the sample's copy in the newcomer's folder, and it was heard.
    QCOMPARE(QFileInfo(report.at(2).section(QLatin1Char(' '), 2)).canonicalFilePath(),
             QFileInfo(userFile(QStringLiteral("workspace/") + material)).canonicalFilePath());
    QVERIFY(AudioFixtures::peakAmplitude(m_scratch.filePath(QStringLiteral("heard.wav"))) > 0.05);
    // The recording is the newcomer's own file and holds their voice.
    const QString sentence = userFile(QStringLiteral("workspace/train/") + material + QStringLiteral("/11.mp3"));
    QCOMPARE(QFileInfo(sentence).ownerId(), QFileInfo(home({})).ownerId());
    QVERIFY(AudioFixtures::decodedSeconds(sentence) >= 2.5);
    QCOMPARE(qRound(AudioFixtures::frequencyBetween(sentence, 1, 1.5) / 20), 22);
    QCOMPARE(optSnapshot(), m_optBefore);
}

// The trainer offers version 1307; the newcomer accepts, the updater copy runs in their
// folder, unpacks the archive there and is told not to restart.
void TestPackage::updateLandsInTheUsersFolder()
{
    QTemporaryDir site;
    const QString upgrade = site.filePath(QStringLiteral("software/ZORVA/upgrade/"));
    QVERIFY(QDir().mkpath(upgrade));
    QFile version(upgrade + QStringLiteral("version.txt"));
    QVERIFY(version.open(QIODevice::WriteOnly) && version.write("1307\n") == 5);
    version.close();
    QFile news(site.filePath(QStringLiteral("NEWS-1307.txt")));
    QVERIFY(news.open(QIODevice::WriteOnly) && news.write("New in 1307\n") > 0);
    news.close();
    QVERIFY(run(QStringLiteral("zip"), {QStringLiteral("-jq"), upgrade + QStringLiteral("1307.zip"), news.fileName()}));
    // Signed with a key made here, which the newcomer's programs are told to trust.
    QByteArray key;
    const QString secret = m_scratch.filePath(QStringLiteral("update.key"));
    QVERIFY(run(QStringLiteral(ZORVA_SIGN_PROGRAM), {QStringLiteral("keygen"), secret}, &key));
    m_updateKey = QString::fromLatin1(key.trimmed());
    QVERIFY(run(QStringLiteral(ZORVA_SIGN_PROGRAM), {QStringLiteral("sign"), secret, upgrade + QStringLiteral("1307.zip"), QStringLiteral("1307")}));
    TestHttpServer server(site.path());
    QVERIFY2(server.start(), qPrintable(server.errorString()));

    const QStringList trainer = session(QStringLiteral("update"), server.baseUrl());
    QVERIFY2(trainer.value(0).startsWith(QStringLiteral("ZORVA: offered")), qPrintable(trainer.join(QLatin1Char('|'))));
    QCOMPARE(m_exit, 0);
    // The updater was started detached; its stage arrives once it has unpacked, and then it ends.
    QTRY_VERIFY_WITH_TIMEOUT(readLines(home(QStringLiteral("report"))).size() >= 2, 60000);
    // The updater speaks the locale's language: English here.
    QCOMPARE(readLines(home(QStringLiteral("report"))).at(1), QStringLiteral("update_tmp: updater The update is installed. Restart ZORVA now?"));
    QTRY_VERIFY_WITH_TIMEOUT(!run(QStringLiteral("pgrep"), {QStringLiteral("-u"), account, QStringLiteral("-x"),
                                                           QStringLiteral("ZORVA|update_tmp")}), 30000);
    QCOMPARE(QFileInfo(userFile(QStringLiteral("NEWS-1307.txt"))).ownerId(), QFileInfo(home({})).ownerId());
    QVERIFY(QFileInfo::exists(userFile(QStringLiteral("workspace/train/") + material + QStringLiteral("/11.mp3"))));
    QCOMPARE(optSnapshot(), m_optBefore);
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
