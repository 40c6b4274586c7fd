#include "extractzip.h"

#include "zipfixtures.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using ZipFixtures::readFile;
using ZipFixtures::writeFile;
using ZipFixtures::writeZip;

namespace {

const QByteArray keptContent("the installed version, which must survive");
const QString archive = QStringLiteral("1307.zip");
const QString here = QStringLiteral("./");

// Replaces the 32-bit little-endian field at `offset` after every header signature.
void patchField(QByteArray &zip, const char *signature, int offset, quint32 value)
{
    for (int at = zip.indexOf(QByteArray(signature, 4)); at >= 0; at = zip.indexOf(QByteArray(signature, 4), at + 4)) {
        for (int i = 0; i < 4; ++i)
            zip[at + offset + i] = static_cast<char>(value >> (8 * i));
    }
}

} // namespace

class TestExtractZip : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void installsFilesAndFolders();
    void keepsProgramsExecutable();
    void refusesEntriesLeavingTheFolder_data();
    void refusesEntriesLeavingTheFolder();
    void damagedArchiveLeavesInstallationAlone_data();
    void damagedArchiveLeavesInstallationAlone();
    void entryThatCannotBeWrittenFails();

private:
    // Everything in the temporary root (the installation "inst" and what lies beside it).
    QStringList listing() const;

    std::unique_ptr<QTemporaryDir> m_root;
};

// The installation folder "inst", with one installed file, is the working directory.
void TestExtractZip::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_root->path()).mkpath(QStringLiteral("inst/skin")));
    QVERIFY(QDir::setCurrent(m_root->filePath(QStringLiteral("inst"))));
    QVERIFY(writeFile(QStringLiteral("keep.txt"), keptContent));
}

QStringList TestExtractZip::listing() const
{
    QStringList names = QDir(m_root->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        names.append(QStringLiteral("inst/") + name);
    return names;
}

void TestExtractZip::installsFilesAndFolders()
{
    const QByteArray big = ZipFixtures::noise(600000, 5);
    QVERIFY(writeZip(archive, {{"keep.txt", "replaced"},
                               {"skin/default/x.png", "picture"}, // its folder does not exist yet
                               {"res/", {}},
                               {"big.bin", big}}));
    // What a killed run left behind goes too.
    QVERIFY(QDir().mkpath(QStringLiteral(".zorva-unpack-AbCdEf/sub")));
    QVERIFY(ExtractZip(archive, here));
    QCOMPARE(readFile(QStringLiteral("keep.txt")), QByteArray("replaced"));
    QCOMPARE(readFile(QStringLiteral("skin/default/x.png")), QByteArray("picture"));
    QVERIFY(QFileInfo(QStringLiteral("res")).isDir());
    QVERIFY(readFile(QStringLiteral("big.bin")) == big);
    QCOMPARE(listing(), QStringList({"inst", "inst/1307.zip", "inst/big.bin", "inst/keep.txt", "inst/res", "inst/skin"}));
}

// An update that replaces the trainer must leave it startable.
void TestExtractZip::keepsProgramsExecutable()
{
    QVERIFY(QDir().mkpath(QStringLiteral("src")));
    QVERIFY(writeFile(QStringLiteral("src/ZORVA"), "#!/bin/sh\nexit 0\n"));
    QVERIFY(QFile::setPermissions(QStringLiteral("src/ZORVA"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcess zip;
    zip.setWorkingDirectory(QStringLiteral("src"));
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("../1307.zip"), QStringLiteral("ZORVA")});
    QVERIFY(zip.waitForFinished(30000) && zip.exitCode() == 0);

    QVERIFY(ExtractZip(archive, here));
    QCOMPARE(QProcess::execute(QStringLiteral("./ZORVA"), {}), 0);
}

void TestExtractZip::refusesEntriesLeavingTheFolder_data()
{
    QTest::addColumn<QString>("hostileName");
    QTest::addColumn<QString>("escapedPath"); // where the entry would land, relative to the root
    QTest::newRow("parent") << "../outside.txt" << "outside.txt";
    QTest::newRow("absolute") << "@ROOT@/absolute.txt" << "absolute.txt";
}

void TestExtractZip::refusesEntriesLeavingTheFolder()
{
    QFETCH(QString, hostileName);
    QFETCH(QString, escapedPath);
    hostileName.replace(QStringLiteral("@ROOT@"), m_root->path());
    // The harmless entries around the hostile one must not be installed either.
    QVERIFY(writeZip(archive, {{"keep.txt", "overwritten"}, {hostileName, "escaped"}, {"new.txt", "new"}}));
    QVERIFY(!ExtractZip(archive, here));
    QVERIFY(!QFile::exists(m_root->filePath(escapedPath)));
    QCOMPARE(readFile(QStringLiteral("keep.txt")), keptContent);
    QCOMPARE(listing(), QStringList({"inst", "inst/1307.zip", "inst/keep.txt", "inst/skin"}));
}

void TestExtractZip::damagedArchiveLeavesInstallationAlone_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("truncated archive") << "truncate";
    QTest::newRow("entry that cannot be read") << "flip";
    QTest::newRow("header claims 2 GB") << "size";
    QTest::newRow("not a zip") << "garbage";
}

void TestExtractZip::damagedArchiveLeavesInstallationAlone()
{
    QFETCH(QString, damage);
    QVERIFY(writeZip(archive, {{"first.txt", "first"}, {"keep.txt", ZipFixtures::noise(40000, 11)}}));
    QByteArray zip = readFile(archive);
    if (damage == QLatin1String("truncate")) {
        zip.truncate(zip.size() / 2);
    } else if (damage == QLatin1String("flip")) {
        const int at = zip.indexOf("keep.txt") + 8 + 20000; // inside the entry's data
        zip[at] = static_cast<char>(zip.at(at) ^ 0x5a);
    } else if (damage == QLatin1String("size")) {
        patchField(zip, "PK\x03\x04", 22, 0x7ffffff0u);
        patchField(zip, "PK\x01\x02", 24, 0x7ffffff0u);
    } else {
        zip = "<html>404 Not Found</html>";
    }
    QVERIFY(writeFile(archive, zip));

    QVERIFY(!ExtractZip(archive, here));
    // Nothing half-installed, no staging files left behind, no file emptied.
    QCOMPARE(readFile(QStringLiteral("keep.txt")), keptContent);
    QCOMPARE(listing(), QStringList({"inst", "inst/1307.zip", "inst/keep.txt", "inst/skin"}));
}

// A folder stands where the archive wants a file: the update must not count as done.
void TestExtractZip::entryThatCannotBeWrittenFails()
{
    QVERIFY(QDir().mkpath(QStringLiteral("blocked/inner")));
    QVERIFY(writeZip(archive, {{"blocked", "a file"}}));
    QVERIFY(!ExtractZip(archive, here));
    QVERIFY(QFileInfo(QStringLiteral("blocked/inner")).isDir());
}

QTEST_GUILESS_MAIN(TestExtractZip)
#include "tst_extractzip.moc"
