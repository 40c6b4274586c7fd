// The Debian package installed on this machine and used by a newcomer: a fresh account
// starts `zorva` on the test display, listens to a sample, records the first sentence and
// later accepts an update. Everything the programs write must land in that account's own
// folder; /opt/zorva stays as the package left it. The programs are driven from inside by
// the newcomer probe plugin (newcomerprobe.cpp), which reports each stage to a file.
//
// Needs root (dpkg, useradd) and the package in ZORVA_PACKAGE_DEB; scripts/run-tests.sh
// builds it. The package and the account are removed again at the end.
#include "audiofixtures.h"
#include "testhttpserver.h"

#include <QtTest>
#include <QDirIterator>
#include <QProcess>

#include <memory>

#include <unistd.h>

namespace {

const QString account = QStringLiteral("zorva-newcomer");
const QString systemDir = QStringLiteral("/opt/zorva");
const QString material = QStringLiteral("lesson01.mp3");
constexpr int toneHz = 440;
constexpr int sessionLimitMs = 180000;

bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(300000);
    const QByteArray text = process.readAll();
    if (output)
        *output = text;
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("%s %s failed:\n%s", qPrintable(program), qPrintable(arguments.join(QLatin1Char(' '))),
                 text.constData());
        return false;
    }
    return true;
}

// Path, size and modification time of everything under a folder.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries << QStringLiteral("%1 %2 %3").arg(info.filePath()).arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

bool hasProcesses(const QString &user)
{
    QProcess pgrep;
    pgrep.start(QStringLiteral("pgrep"), {QStringLiteral("-u"), user});
    return !pgrep.waitForFinished(10000) || pgrep.exitCode() == 0;
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
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
    QString userFolder() const { return m_home + QStringLiteral("/.local/share/zorva"); }
    QString reportPath() const { return m_home + QStringLiteral("/probe-report.txt"); }
    bool grantSoundServer();
    bool installProbe();
    QStringList runAsNewcomer(const QString &script, const QString &updateUrl);
    void verifyOptUntouched();

    QTemporaryDir m_scratch;
    QString m_home;
    QString m_soundModule;
    QStringList m_optBefore;
    std::unique_ptr<QProcess> m_microphone;
    QString m_updateKey; // empty: the release key built in
    int m_sessionExit = -1;
    bool m_installed = false;
    bool m_accountMade = false;
};

void TestPackage::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("installs a package and adds an account: needs root");
    const QString package = QString::fromLocal8Bit(qgetenv("ZORVA_PACKAGE_DEB"));
    if (package.isEmpty())
        QSKIP("no package given in ZORVA_PACKAGE_DEB (scripts/run-tests.sh builds one)");
    QVERIFY2(QFileInfo(package).isFile(), qPrintable(package));
    QVERIFY(m_scratch.isValid());
    // Other accounts must reach the newcomer's home and the probe inside the scratch folder.
    QVERIFY(QFile::setPermissions(m_scratch.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                  | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));

    run(QStringLiteral("userdel"), {QStringLiteral("-r"), account}); // left over by an aborted run
    QVERIFY(run(QStringLiteral("dpkg"), {QStringLiteral("-i"), package}));
    m_installed = true;
    QVERIFY(QFileInfo(QStringLiteral("/usr/bin/zorva")).isExecutable());
    QVERIFY(QFileInfo(QStringLiteral("/usr/share/applications/zorva.desktop")).isFile());
    m_optBefore = snapshot(systemDir);
    QVERIFY(m_optBefore.size() > 10);

    m_home = m_scratch.path() + QStringLiteral("/home");
    QVERIFY(run(QStringLiteral("useradd"), {QStringLiteral("--create-home"), QStringLiteral("--home-dir"), m_home,
                                            QStringLiteral("--shell"), QStringLiteral("/bin/sh"), account}));
    m_accountMade = true;
    QVERIFY(grantSoundServer());
    QVERIFY(installProbe());

    // The newcomer speaks a steady tone into the virtual microphone the whole time.
    const QString tone = m_scratch.filePath(QStringLiteral("tone.wav"));
    // Quiet enough that the trainer's recording gain (about 4.5) keeps it below full scale,
    // where clipping would disturb the frequency count.
    QVERIFY(AudioFixtures::makeToneWav(tone, 300, toneHz, 0.075));
    m_microphone.reset(AudioFixtures::playIntoMicrophone(tone));
    QVERIFY(m_microphone && m_microphone->state() == QProcess::Running);
}

void TestPackage::cleanupTestCase()
{
    if (m_microphone) {
        m_microphone->kill();
        m_microphone->waitForFinished(5000);
    }
    if (!m_soundModule.isEmpty())
        run(QStringLiteral("pactl"), {QStringLiteral("unload-module"), m_soundModule});
    if (m_accountMade)
        run(QStringLiteral("userdel"), {QStringLiteral("-r"), account});
    if (m_installed)
        run(QStringLiteral("dpkg"), {QStringLiteral("--purge"), QStringLiteral("zorva")});
}

// The test's sound server listens in a folder private to root; a second socket lets the
// newcomer's programs in, as their own session's server would.
bool TestPackage::grantSoundServer()
{
    const QString socket = m_scratch.filePath(QStringLiteral("pulse-native"));
    QByteArray module;
    if (!run(QStringLiteral("pactl"), {QStringLiteral("load-module"), QStringLiteral("module-native-protocol-unix"),
                                        QStringLiteral("auth-anonymous=1"), QStringLiteral("socket=") + socket},
             &module))
        return false;
    m_soundModule = QString::fromUtf8(module).trimmed();
    return QFileInfo::exists(socket);
}

bool TestPackage::installProbe()
{
    const QString folder = m_scratch.filePath(QStringLiteral("plugins/generic"));
    return QDir().mkpath(folder)
        && QFile::copy(QStringLiteral(ZORVA_PROBE_PLUGIN), folder + QStringLiteral("/libzorvanewcomerprobe.so"));
}

// Starts `zorva` from the PATH as the newcomer, in a login-like environment of their own,
// and returns the probe's report once the trainer has ended (its exit code is kept).
QStringList TestPackage::runAsNewcomer(const QString &script, const QString &updateUrl)
{
    QFile::remove(reportPath());
    const QStringList environment = {
        QStringLiteral("HOME=") + m_home,
        QStringLiteral("USER=") + account,
        QStringLiteral("PATH=/usr/local/bin:/usr/bin:/bin"),
        QStringLiteral("LANG=C.UTF-8"),
        QStringLiteral("DISPLAY=") + QString::fromLocal8Bit(qgetenv("DISPLAY")),
        QStringLiteral("PULSE_SERVER=unix:") + m_scratch.filePath(QStringLiteral("pulse-native")),
        QStringLiteral("QT_XCB_GL_INTEGRATION=none"),
        QStringLiteral("QT_PLUGIN_PATH=") + m_scratch.filePath(QStringLiteral("plugins")),
        QStringLiteral("QT_QPA_GENERIC_PLUGINS=zorvanewcomerprobe"),
        QStringLiteral("ZORVA_PROBE_SCRIPT=") + script,
        QStringLiteral("ZORVA_PROBE_REPORT=") + reportPath(),
        QStringLiteral("ZORVA_PROBE_MATERIAL=") + material,
        QStringLiteral("ZORVA_UPDATE_URL=") + updateUrl,
        QStringLiteral("ZORVA_UPDATE_PUBLIC_KEY=") + m_updateKey,
    };
    QProcess session;
    session.setProcessChannelMode(QProcess::MergedChannels);
    session.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), account, QStringLiteral("--"),
                                                          QStringLiteral("env"), QStringLiteral("-i")}
                      + environment + QStringList{QStringLiteral("zorva")});
    const bool ended = session.waitForFinished(sessionLimitMs);
    if (!ended)
        session.kill();
    const QByteArray output = session.readAll();
    m_sessionExit = ended && session.exitStatus() == QProcess::NormalExit ? session.exitCode() : -1;
    const QStringList report = readLines(reportPath());
    qInfo("probe: %s", qPrintable(report.join(QLatin1String(" | "))));
    if (!ended || session.exitCode() != 0)
        qWarning("zorva did not end well (exit %d):\n%s\nprobe: %s", session.exitCode(), output.constData(),
                 qPrintable(report.join(QLatin1String(" | "))));
    return report;
}

void TestPackage::verifyOptUntouched()
{
    const QStringList after = snapshot(systemDir);
    QCOMPARE(after.size(), m_optBefore.size());
    QCOMPARE(after, m_optBefore);
}

void TestPackage::newcomerListensAndRecords()
{
    QProcess speaker;
    const QString heard = m_scratch.filePath(QStringLiteral("speaker.wav"));
    speaker.start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("speaker.monitor"),
                                            QStringLiteral("--file-format=wav"), heard});
    QVERIFY(speaker.waitForStarted());
    // Nothing listens on port 9: no update is offered.
    const QStringList report = runAsNewcomer(QStringLiteral("train"), QStringLiteral("http://127.0.0.1:9"));
    speaker.terminate();
    QVERIFY(speaker.waitForFinished(10000));
    QCOMPARE(m_sessionExit, 0);

    const QString workspace = userFolder() + QStringLiteral("/workspace/");
    const QStringList stages = {QStringLiteral("window"), QStringLiteral("chose"), QStringLiteral("playing"),
                                QStringLiteral("listened"), QStringLiteral("training"), QStringLiteral("recording"),
                                QStringLiteral("spoke"), QStringLiteral("recorded"), QStringLiteral("exit")};
    QCOMPARE(report.size(), stages.size());
    for (int i = 0; i < stages.size(); ++i)
        QVERIFY2(report.at(i).startsWith(QStringLiteral("ZORVA: ") + stages.at(i)), qPrintable(report.at(i)));
    QCOMPARE(report.at(0), QStringLiteral("ZORVA: window ZORVA v1306"));
    // What played is the sample's copy in the newcomer's folder.
    const QString played = report.at(2).section(QLatin1Char(' '), 2);
    QCOMPARE(QFileInfo(played).canonicalFilePath(), QFileInfo(workspace + material).canonicalFilePath());

    // The sample was heard: speech reached the speaker, not only the silent feed.
    QVERIFY2(AudioFixtures::peakAmplitude(heard) > 0.05, qPrintable(heard));

    // The recording is the newcomer's own file, in their folder, and holds their voice.
    const QString sentence = workspace + QStringLiteral("train/") + material + QStringLiteral("/11.mp3");
    const QFileInfo recorded(sentence);
    QVERIFY2(recorded.isFile(), qPrintable(sentence));
    QCOMPARE(recorded.ownerId(), QFileInfo(m_home).ownerId());
    QVERIFY(AudioFixtures::decodedSeconds(sentence) >= 2.5);
    // Counted in the middle, away from the encoder's silent start and the last block.
    const double frequency = AudioFixtures::frequencyBetween(sentence, 1, 1.5);
    QVERIFY2(qAbs(frequency - toneHz) < toneHz * 0.03, qPrintable(QString::number(frequency)));

    QVERIFY(QFileInfo(userFolder() + QStringLiteral("/ZORVA")).isExecutable());
    verifyOptUntouched();
}

// The trainer offers version 1307; the newcomer accepts, the updater copy runs in their
// folder, unpacks the archive there and is told not to restart.
void TestPackage::updateLandsInTheUsersFolder()
{
    QTemporaryDir site;
    QVERIFY(site.isValid());
    const QString upgrade = site.filePath(QStringLiteral("software/ZORVA/upgrade"));
    QVERIFY(QDir().mkpath(upgrade) && QDir().mkpath(site.filePath(QStringLiteral("content"))));
    QFile version(upgrade + QStringLiteral("/version.txt"));
    QVERIFY(version.open(QIODevice::WriteOnly) && version.write("1307\n") == 5);
    version.close();
    QFile news(site.filePath(QStringLiteral("content/NEWS-1307.txt")));
    QVERIFY(news.open(QIODevice::WriteOnly) && news.write("New in 1307\n") > 0);
    news.close();
    QProcess zip;
    zip.setWorkingDirectory(site.filePath(QStringLiteral("content")));
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), upgrade + QStringLiteral("/1307.zip"),
                                      QStringLiteral("NEWS-1307.txt")});
    QVERIFY(zip.waitForFinished() && zip.exitCode() == 0);
    // Signed with a key made here, which the newcomer's programs are told to trust.
    QProcess sign;
    sign.start(QStringLiteral(ZORVA_SIGN_PROGRAM), {QStringLiteral("keygen"), m_scratch.filePath(QStringLiteral("update.key"))});
    QVERIFY(sign.waitForFinished() && sign.exitCode() == 0);
    m_updateKey = QString::fromLatin1(sign.readAllStandardOutput().trimmed());
    QCOMPARE(QProcess::execute(QStringLiteral(ZORVA_SIGN_PROGRAM), {QStringLiteral("sign"), m_scratch.filePath(QStringLiteral("update.key")),
                                                                     upgrade + QStringLiteral("/1307.zip"), QStringLiteral("1307")}), 0);
    TestHttpServer server(site.path());
    QVERIFY2(server.start(), qPrintable(server.errorString()));

    const QStringList trainer = runAsNewcomer(QStringLiteral("update"), server.baseUrl());
    QVERIFY2(trainer.value(0).startsWith(QStringLiteral("ZORVA: offered")), qPrintable(trainer.join(QLatin1Char('|'))));
    QCOMPARE(m_sessionExit, 0);

    // The updater was started detached; its own stage arrives once it has unpacked.
    QTRY_VERIFY_WITH_TIMEOUT(readLines(reportPath()).size() >= 2, 120000);
    QCOMPARE(readLines(reportPath()).at(1), QStringLiteral("update_tmp: updater 更新完成是否重启ZORVA？"));
    QTRY_VERIFY_WITH_TIMEOUT(!hasProcesses(account), 30000);

    const QString landed = userFolder() + QStringLiteral("/NEWS-1307.txt");
    QVERIFY2(QFileInfo(landed).isFile(), qPrintable(landed));
    QCOMPARE(QFileInfo(landed).ownerId(), QFileInfo(m_home).ownerId());
    // The first session's recording is still there.
    QVERIFY(QFileInfo(userFolder() + QStringLiteral("/workspace/train/") + material + QStringLiteral("/11.mp3")).isFile());
    QVERIFY(!QFileInfo::exists(systemDir + QStringLiteral("/NEWS-1307.txt")));
    verifyOptUntouched();
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
