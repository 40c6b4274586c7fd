// The built trainer started as a learner starts it: from a copy of its installation folder,
// which is its working directory, on the test display.
#include "installationcopy.h"
#include "testpaths.h"

#include <QtTest>
#include <QImage>

namespace {

QByteArray output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

// A figure of xwininfo's report on the mapped main window, or -1.
int windowField(const char *name)
{
    const QString info = QString::fromLocal8Bit(output(QStringLiteral("xwininfo"), {QStringLiteral("-name"), QStringLiteral("ZORVA v1306")}));
    const auto match = QRegularExpression(QLatin1String(name) + QStringLiteral(":\\s+(-?\\d+)")).match(info);
    return info.contains(QLatin1String("IsViewable")) && match.hasMatch() ? match.captured(1).toInt() : -1;
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
    QTest::addColumn<QString>("leftOut");
    QTest::newRow("installation as built") << "";
    QTest::newRow("no translations folder") << "translations";
    QTest::newRow("log cannot be written") << "zorva.log"; // a folder where the log belongs
}

void TestZorvaProgram::startsAndLogs()
{
    QFETCH(QString, leftOut);
    QTemporaryDir installation;
    QVERIFY(copyInstallation(TestPaths::stageDir(), installation.path(), {leftOut, QStringLiteral("zorva.log")}));
    const bool logWritable = leftOut != QLatin1String("zorva.log") || !QDir(installation.path()).mkdir(leftOut);
    QProcess trainer;
    trainer.setWorkingDirectory(installation.path());
    // The toolkit's own debug output shows the log handler in place before the application exists.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.*.debug=true"));
    trainer.setProcessEnvironment(environment);
    trainer.start(installation.filePath(QStringLiteral("ZORVA")), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(windowField("Width") == 640 || trainer.state() == QProcess::NotRunning, 30000);
    QVERIFY2(trainer.state() == QProcess::Running, trainer.readAllStandardError().right(2000).constData());
    QCOMPARE(windowField("Height"), 480);
    const QPoint corner(windowField("Absolute upper-left X"), windowField("Absolute upper-left Y"));
    QCOMPARE(corner, QPoint(1280 / 2 - 640 / 2, 1024 / 2 - 480 / 2)); // centred on the test display
    // Desktops match the window to the desktop file by its class.
    QCOMPARE(output(QStringLiteral("xprop"), {QStringLiteral("-name"), QStringLiteral("ZORVA v1306"), QStringLiteral("WM_CLASS")}).trimmed(),
             QByteArray("WM_CLASS(STRING) = \"zorva\", \"zorva\""));

    // The training bar under the window is drawn from the embedded pictures, not left blank.
    QTest::qWait(1000);
    const QImage bar = QImage::fromData(output(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")}))
                           .copy(corner.x(), corner.y() + 480, 640, 85);
    QSet<QRgb> colours;
    for (int i = 0; i < bar.width() * bar.height(); ++i)
        colours.insert(bar.pixel(i % bar.width(), i / bar.width()));
    QVERIFY2(colours.size() > 50, qPrintable(QString::number(colours.size())));

    QFile log(installation.filePath(QStringLiteral("zorva.log")));
    QVERIFY(!logWritable || (log.open(QIODevice::ReadOnly) && log.read(8) == "\r\nDebug["));
    trainer.terminate();
    QVERIFY(trainer.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(TestZorvaProgram)
#include "tst_zorvaprogram.moc"
