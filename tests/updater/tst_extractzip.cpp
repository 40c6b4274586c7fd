#include "extractzip.h"

#include "zipfixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using ZipFixtures::Entry;
using ZipFixtures::readFile;
using ZipFixtures::writeFile;
using ZipFixtures::writeZip;

namespace {

// Replaces the 32-bit little-endian field at `offset` after every header signature.
void patchField(QByteArray &zip, const QByteArray &signature, int offset, quint32 value)
{
    for (int at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4)) {
        for (int i = 0; i < 4; ++i)
            zip[at + offset + i] = char((value >> (8 * i)) & 0xff);
    }
}

const QByteArray keptContent("the installed version, which must survive");

} // namespace

class TestExtractZip : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void installsFilesAndFolders();
    void keepsProgramsExecutable();
    void refusesEntriesLeavingTheFolder_data();
    void refusesEntriesLeavingTheFolder();
    void damagedArchiveLeavesInstallationAlone_data();
    void damagedArchiveLeavesInstallationAlone();
    void entryThatCannotBeWrittenFails();

private:
    QString install(const QString &name) const { return m_root->filePath(QStringLiteral("inst/") + name); }
    QStringList installationListing() const;

    std::unique_ptr<QTemporaryDir> m_root; // holds "inst", the installation, and what lies beside it
};

void TestExtractZip::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QVERIFY(QDir(m_root->path()).mkpath(QStringLiteral("inst/skin")));
    QVERIFY(QDir::setCurrent(m_root->filePath(QStringLiteral("inst"))));
    QVERIFY(writeFile(install(QStringLiteral("keep.txt")), keptContent));
}

void TestExtractZip::cleanup()
{
    QDir::setCurrent(QDir::tempPath());
    m_root.reset();
}

QStringList TestExtractZip::installationListing() const
{
    QStringList names;
    QDir dir(m_root->path());
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        names.append(info.fileName());
    QDir inst(install(QString()));
    for (const QFileInfo &info : inst.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        names.append(QStringLiteral("inst/") + info.fileName());
    names.sort();
    return names;
}

void TestExtractZip::installsFilesAndFolders()
{
    QVERIFY(writeZip(QStringLiteral("1307.zip"),
                     {{"keep.txt", "replaced"},
                      {"skin/default/x.png", "picture"}, // its folder does not exist yet
                      {"res/", {}},
                      {"big.bin", ZipFixtures::noise(600000, 5)}}));
    QVERIFY(ExtractZip(QStringLiteral("1307.zip"), QStringLiteral("./")));
    QCOMPARE(readFile(install(QStringLiteral("keep.txt"))), QByteArray("replaced"));
    QCOMPARE(readFile(install(QStringLiteral("skin/default/x.png"))), QByteArray("picture"));
    QVERIFY(QFileInfo(install(QStringLiteral("res"))).isDir());
    QVERIFY(readFile(install(QStringLiteral("big.bin"))) == ZipFixtures::noise(600000, 5));
    QCOMPARE(installationListing(),
             QStringList({"inst", "inst/1307.zip", "inst/big.bin", "inst/keep.txt", "inst/res", "inst/skin"}));
}

// An update that replaces the trainer must leave it startable.
void TestExtractZip::keepsProgramsExecutable()
{
    QTemporaryDir source;
    QVERIFY(writeFile(source.filePath(QStringLiteral("ZORVA")), "#!/bin/sh\nexit 0\n"));
    QVERIFY(QFile::setPermissions(source.filePath(QStringLiteral("ZORVA")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                      | QFile::ExeOther));
    QProcess zip;
    zip.setWorkingDirectory(source.path());
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), install(QStringLiteral("1307.zip")), QStringLiteral("ZORVA")});
    QVERIFY(zip.waitForFinished(30000));
    QCOMPARE(zip.exitCode(), 0);

    QVERIFY(ExtractZip(QStringLiteral("1307.zip"), QStringLiteral("./")));
    QVERIFY(QFileInfo(install(QStringLiteral("ZORVA"))).isExecutable());
    QCOMPARE(QProcess::execute(install(QStringLiteral("ZORVA")), {}), 0);
}

void TestExtractZip::refusesEntriesLeavingTheFolder_data()
{
    QTest::addColumn<QString>("hostileName");
    QTest::addColumn<QString>("escapedPath"); // where the entry would land, relative to the root
    QTest::newRow("parent") << "../outside.txt" << "outside.txt";
    QTest::newRow("parent inside") << "skin/../../outside.txt" << "outside.txt";
    QTest::newRow("absolute") << "@ROOT@/absolute.txt" << "absolute.txt";
}

void TestExtractZip::refusesEntriesLeavingTheFolder()
{
    QFETCH(QString, hostileName);
    QFETCH(QString, escapedPath);
    hostileName.replace(QStringLiteral("@ROOT@"), m_root->path());
    // The harmless entries around the hostile one must not be installed either.
    QVERIFY(writeZip(QStringLiteral("1307.zip"),
                     {{"keep.txt", "overwritten"}, {hostileName, "escaped"}, {"new.txt", "new"}}));
    QVERIFY(!ExtractZip(QStringLiteral("1307.zip"), QStringLiteral("./")));
    QVERIFY(!QFile::exists(m_root->filePath(escapedPath)));
    QCOMPARE(readFile(install(QStringLiteral("keep.txt"))), keptContent);
    QCOMPARE(installationListing(), QStringList({"inst", "inst/1307.zip", "inst/keep.txt", "inst/skin"}));
}

void TestExtractZip::damagedArchiveLeavesInstallationAlone_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("stored");
    QTest::newRow("truncated archive") << "truncate" << false;
    QTest::newRow("corrupt stored data") << "flip" << true;
    QTest::newRow("corrupt deflated data") << "flip" << false;
    QTest::newRow("header claims 2 GB") << "size" << false;
    QTest::newRow("header claims fewer bytes") << "shrink" << true;
    QTest::newRow("not a zip") << "garbage" << false;
}

void TestExtractZip::damagedArchiveLeavesInstallationAlone()
{
    QFETCH(QString, damage);
    QFETCH(bool, stored);
    const QByteArray payload = ZipFixtures::noise(40000, 11);
    Entry keep{QStringLiteral("keep.txt"), payload, stored};
    QVERIFY(writeZip(QStringLiteral("1307.zip"), {{"first.txt", "first"}, keep}));
    QByteArray zip = readFile(QStringLiteral("1307.zip"));

    if (damage == QLatin1String("truncate")) {
        zip.truncate(zip.size() / 2);
    } else if (damage == QLatin1String("flip")) {
        const int at = stored ? zip.indexOf(payload.mid(20000, 16)) : zip.indexOf("keep.txt") + 8 + 20000;
        QVERIFY(at > 0);
        zip[at] = char(zip.at(at) ^ 0x5a);
    } else if (damage == QLatin1String("size")) {
        patchField(zip, QByteArray("PK\x03\x04", 4), 22, 0x7ffffff0u);
        patchField(zip, QByteArray("PK\x01\x02", 4), 24, 0x7ffffff0u);
    } else if (damage == QLatin1String("shrink")) {
        patchField(zip, QByteArray("PK\x03\x04", 4), 22, 100);
        patchField(zip, QByteArray("PK\x01\x02", 4), 24, 100);
    } else {
        zip = "<html>404 Not Found</html>";
    }
    QVERIFY(writeFile(QStringLiteral("1307.zip"), zip));

    QVERIFY(!ExtractZip(QStringLiteral("1307.zip"), QStringLiteral("./")));
    QCOMPARE(readFile(install(QStringLiteral("keep.txt"))), keptContent);
    // No half-installed archive and no staging files left behind.
    QCOMPARE(installationListing(), QStringList({"inst", "inst/1307.zip", "inst/keep.txt", "inst/skin"}));
}

// A folder stands where the archive wants a file: the update must not count as done.
void TestExtractZip::entryThatCannotBeWrittenFails()
{
    QVERIFY(QDir().mkpath(install(QStringLiteral("blocked/inner"))));
    QVERIFY(writeZip(QStringLiteral("1307.zip"), {{"blocked", "a file"}}));
    QVERIFY(!ExtractZip(QStringLiteral("1307.zip"), QStringLiteral("./")));
    QVERIFY(QFileInfo(install(QStringLiteral("blocked/inner"))).isDir());
}

QTEST_GUILESS_MAIN(TestExtractZip)
#include "tst_extractzip.moc"
