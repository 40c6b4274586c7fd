// Draws the library window (with the bundled selections and a sample download) or the
// import dialog (filled in as a learner leaves it) under the current display, for docs/:
//   librarysnapshot library|importer <source dir> <stage dir> <output.png>
// The skin is read from the program's folder, where the build copies it.
#include "importer.h"
#include "librarytest.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTranslator>

namespace {
bool shootImporter(const QString &output)
{
    Importer importer(nullptr);
    const auto fill = [&](const char *name, const char *text) {
        importer.findChild<QLineEdit *>(name)->setText(QString::fromUtf8(text));
    };
    fill("matName", "城市与气候 Cities and climate");
    fill("mp3Name", "/home/learner/Music/city_climate.mp3");
    fill("origTxt", "/home/learner/Documents/city_climate.txt");
    importer.show();
    if (!QTest::qWaitForWindowExposed(&importer))
        return false;
    // From the screen, so the skin's shaped outline shows as the learner sees it.
    const QRect frame = importer.geometry();
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(output);
}

bool shootLibrary(const QString &sourceDir, const QString &output)
{
    const WorkingDir work;
    QDir().mkpath("workspace/train/lesson01.mp3");
    const QDir shipped(sourceDir + "/data/install/workspace");
    for (const QString &name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), "workspace/" + name);
    QFile::remove("weblist.xml");
    QFile::copy(sourceDir + "/data/install/weblist.xml", "weblist.xml");
    writeBytes("custom.xml",
        listOf("在线新闻 Online news",
            { caseOf("清洁水大会 Clean water conference", "lesson02.mp3",
                "http://127.0.0.1:8471/m/lesson02.mp3") }));
    const std::unique_ptr<Mater> panel = openPanel();
    panel->resize(321, 420);
    QTest::qWait(300);
    return panel->grab().save(output);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5 || (args[1] != "library" && args[1] != "importer")) {
        std::fprintf(stderr, "usage: librarysnapshot library|importer <source> <stage> <png>\n");
        return 2;
    }
    zorvaInitResources();
    QTranslator translator;
    if (translator.load(QStringLiteral("app_zh"), args[3] + QStringLiteral("/translations")))
        QCoreApplication::installTranslator(&translator);
    const QString output = QDir::current().absoluteFilePath(args[4]);
    const bool saved
        = args[1] == "importer" ? shootImporter(output) : shootLibrary(args[2], output);
    std::printf("%s %s\n", saved ? "saved" : "could not write", qPrintable(output));
    return saved ? 0 : 1;
}
