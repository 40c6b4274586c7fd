// The installed trainer, from a copy of its installation, against a content server whose
// catalogue is nested 40 000 levels deep, or lists local files and names that climb out with
// "..": it keeps running and writes nothing outside its workspace.
#include "installationcopy.h"
#include "testhttpserver.h"
#include "testpaths.h"

#include <QDirIterator>
#include <QtTest>

class TestHostileCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void staysInItsWorkspace_data();
    void staysInItsWorkspace();
};

void TestHostileCatalogue::staysInItsWorkspace_data()
{
    QTest::addColumn<QByteArray>("catalogue"); // @OUT@: a folder beside the installation
    QTest::addColumn<QByteArray>("done"); // in its log or output once the trainer did its part
    const QByteArray deep = QByteArray("<channel>").repeated(40000) + "</channel>";
    QTest::newRow("40 000 levels deep")
        << "<sps>" + deep + "</sps>" << QByteArray("nested more than 64 levels deep");
    QByteArray items = "<sps>";
    for (const char *item :
        { "file://@OUT@/secret", "../m/..%5C..%5Czorvaescape", "../m/..%2F..%2Fzorvaup" })
        items += QByteArray("<item><title>%1</title><audiourl>%1.mp3</audiourl><description>%1.txt"
                            "</description><translation>%1@T.txt</translation></item>")
                     .replace("%1", item);
    items += "</sps>";
    // The probe prints what the entry shows after its click; three transfers end per material.
    QTest::newRow("local files and climbing names")
        << items << QByteArray("Only http and https addresses are downloaded, not file://");
}

void TestHostileCatalogue::staysInItsWorkspace()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(QByteArray, done);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test display (scripts/test-env.sh)");
    QTemporaryDir root;
    const auto write = [&root](const QString &path, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(root.filePath(path)).path());
        QFile file(root.filePath(path));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(copyInstallation(TestPaths::stageDir(), root.filePath("install"), { "zorva.log" }));
    for (const QString &suffix : QStringList { ".mp3", ".txt", "@T.txt" })
        QVERIFY(write("out/secret" + suffix, "private")
            && write("www/m/..\\..\\zorvaescape" + suffix, "x"));
    QVERIFY(write("www/inter/data.php", catalogue.replace("@OUT@", root.filePath("out").toUtf8())));
    TestHttpServer server(root.filePath("www"));
    QVERIFY2(server.start(), qPrintable(server.errorString()));
    const auto filesOutsideWorkspace = [&root] { // but those the trainer keeps itself
        QStringList files;
        for (QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            if (!it.next().contains(
                    QRegularExpression("/install/(workspace/|zorva.log|custom.xml)")))
                files << it.filePath() + ' '
                        + it.fileInfo().lastModified().toString(Qt::ISODateWithMs);
        }
        return files;
    };
    const QStringList before = filesOutsideWorkspace();

    QProcess trainer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZORVA_CONTENT_URL", server.baseUrl());
    environment.insert(
        "ZORVA_UPDATE_URL", QStringLiteral("http://127.0.0.1:%1").arg(server.unusedPort()));
    environment.insert("QT_PLUGIN_PATH", qEnvironmentVariable("ZORVA_PROBE_DIR"));
    environment.insert("QT_QPA_GENERIC_PLUGINS", "zorvaprobe");
    environment.insert("ZORVA_PROBE_SCRIPT", "downloads");
    environment.insert("LC_ALL", "C.UTF-8"); // the English catalogue
    environment.remove("QT_QPA_PLATFORM");
    trainer.setProcessEnvironment(environment);
    trainer.setProcessChannelMode(QProcess::MergedChannels);
    trainer.setWorkingDirectory(root.filePath("install"));
    trainer.start(root.filePath("install/ZORVA"), QStringList());
    QVERIFY(trainer.waitForStarted(10000));
    QByteArray output;
    const auto finished = [&] {
        QFile log(root.filePath("install/zorva.log"));
        output += trainer.readAll();
        return (output + (log.open(QIODevice::ReadOnly) ? log.readAll() : "")).contains(done)
            && output.count("Download of") >= (done.contains("file") ? 6 : 0);
    };
    QTRY_VERIFY_WITH_TIMEOUT(finished() || trainer.state() != QProcess::Running, 30000);
    QVERIFY2(trainer.state() == QProcess::Running && finished(), output.right(3000).constData());
    trainer.terminate();
    QVERIFY(trainer.waitForFinished(10000));
    QCOMPARE(filesOutsideWorkspace(), before);
    QCOMPARE(QDir(root.filePath("install/workspace")).entryList({ "secret*" }), QStringList());
    QCOMPARE(QDir::temp().entryList({ "zorvaescape*", "zorvaup*" }), QStringList());
}

QTEST_GUILESS_MAIN(TestHostileCatalogue)
#include "tst_hostilecatalogue.moc"
