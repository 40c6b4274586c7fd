// The built trainer started as a learner starts it: from a copy of its installation folder,
// which is its working directory, on the test display.
#include "installationcopy.h"
#include "testpaths.h"

#include <QtTest>

namespace {

constexpr int startTimeoutMs = 30000;

// The trainer's main window as the X server sees it, or an empty text while it is not mapped.
QString mappedWindowInfo(const QString &title)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-name"), title});
    if (!xwininfo.waitForFinished(10000) || xwininfo.exitCode() != 0)
        return QString();
    const QString info = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    return info.contains(QStringLiteral("IsViewable")) ? info : QString();
}

bool displayAnswers()
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-root")});
    return xwininfo.waitForFinished(10000) && xwininfo.exitStatus() == QProcess::NormalExit
        && xwininfo.exitCode() == 0;
}

QByteArray logTail(const QString &path)
{
    QFile log(path);
    return log.open(QIODevice::ReadOnly) ? log.readAll().right(1500) : QByteArray();
}

int field(const QString &info, const QString &name)
{
    const QRegularExpression pattern(QRegularExpression::escape(name) + QStringLiteral(":\\s+(-?\\d+)"));
    const auto match = pattern.match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

class TestZorvaProgram : public QObject
{
    Q_OBJECT

private slots:
    void startsAndLogs_data();
    void startsAndLogs();
};

void TestZorvaProgram::startsAndLogs_data()
{
    QTest::addColumn<bool>("withTranslations");
    QTest::addColumn<bool>("logWritable");
    QTest::newRow("installation as built") << true << true;
    QTest::newRow("no translations folder") << false << true;
    // A folder where the log belongs cannot be opened for writing, not even by root.
    QTest::newRow("log cannot be written") << true << false;
}

void TestZorvaProgram::startsAndLogs()
{
    QFETCH(bool, withTranslations);
    QFETCH(bool, logWritable);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test display (scripts/test-env.sh)");

    // The test display may still be starting: the trainer would abort without one.
    QTRY_VERIFY_WITH_TIMEOUT(displayAnswers(), startTimeoutMs);

    QTemporaryDir installation;
    QVERIFY(installation.isValid());
    QStringList skip{QStringLiteral("zorva.log")};
    if (!withTranslations)
        skip << QStringLiteral("translations");
    QVERIFY(copyInstallation(TestPaths::stageDir(), installation.path(), skip));
    QVERIFY(QFileInfo(installation.filePath(QStringLiteral("ZORVA"))).isExecutable());
    // A fresh installation without its working folders: the trainer makes them.
    QVERIFY(QDir(installation.filePath(QStringLiteral("workspace/train"))).removeRecursively());
    if (!logWritable)
        QVERIFY(QDir(installation.path()).mkdir(QStringLiteral("zorva.log")));

    QProcess trainer;
    trainer.setWorkingDirectory(installation.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The toolkit's own debug output during start-up shows that the log handler is in place
    // before the application object exists.
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.*.debug=true"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    trainer.setProcessEnvironment(environment);

    // Several test displays may come and go on a shared machine, and a trainer that finds no
    // display aborts (with an unwritable log it cannot even say so): it is started again once the
    // display answers. A trainer that cannot start at all fails all three times.
    QString info;
    const QString logPath = installation.filePath(QStringLiteral("zorva.log"));
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (logWritable)
            QFile::remove(logPath);
        trainer.start(installation.filePath(QStringLiteral("ZORVA")), QStringList());
        QVERIFY(trainer.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!(info = mappedWindowInfo(QStringLiteral("ZORVA v1306"))).isEmpty()
                                     || trainer.state() == QProcess::NotRunning,
                                 startTimeoutMs);
        if (trainer.state() == QProcess::Running)
            break;
        QTRY_VERIFY_WITH_TIMEOUT(displayAnswers(), startTimeoutMs);
    }
    QVERIFY2(trainer.state() == QProcess::Running,
             qPrintable(QStringLiteral("exit %1 status %2: ").arg(trainer.exitCode()).arg(trainer.exitStatus())
                        + QString::fromLocal8Bit(trainer.readAllStandardError().right(2000))
                        + QString::fromUtf8(logTail(logPath))));
    QCOMPARE(field(info, QStringLiteral("Width")), 640);
    QCOMPARE(field(info, QStringLiteral("Height")), 480);
    // Centred on the 1280 × 1024 test display.
    QCOMPARE(field(info, QStringLiteral("Absolute upper-left X")), 1280 / 2 - 640 / 2);
    QCOMPARE(field(info, QStringLiteral("Absolute upper-left Y")), 1024 / 2 - 480 / 2);
    QVERIFY(QFileInfo(installation.filePath(QStringLiteral("workspace/train"))).isDir());

    if (logWritable) {
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray records = log.readAll();
        QVERIFY2(records.startsWith("\r\nDebug["), records.left(200).constData());
        QVERIFY(records.endsWith("\n\n"));
    } else {
        QVERIFY(QFileInfo(logPath).isDir());
    }

    trainer.terminate();
    QVERIFY(trainer.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(TestZorvaProgram)
#include "tst_zorvaprogram.moc"
