// Draws the library window with the bundled selections and sample learner lists under
// the current display and saves it as a PNG:
//   librarysnapshot <source dir> <stage dir> <output.png>
#include "mater.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {
void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void copyFiles(const QString &from, const QString &to)
{
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), to + QLatin1Char('/') + name);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: librarysnapshot <source dir> <stage dir> <output.png>\n");
        return 2;
    }
    zorvaInitResources();
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString stage = QString::fromLocal8Bit(argv[2]);
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[3]));

    QTranslator translator;
    if (translator.load(QStringLiteral("app_zh"), stage + QStringLiteral("/translations")))
        QCoreApplication::installTranslator(&translator);

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QDir().mkpath(QStringLiteral("workspace/train/lesson01.mp3"));
    QDir().mkpath(QStringLiteral("workspace/demo"));
    copyFiles(source + QStringLiteral("/data/install/workspace"), QStringLiteral("workspace"));
    QFile::copy(source + QStringLiteral("/data/install/weblist.xml"), QStringLiteral("weblist.xml"));
    write(QStringLiteral("custom.xml"),
          "<vornask version=\"1.0\"><train folded=\"no\"><title>在线新闻 Online news</title>"
          "<case learned=\"lesson02.mp3\" url=\"http://127.0.0.1:8471/m/lesson02.mp3\">"
          "<title>清洁水大会 Clean water conference</title></case></train></vornask>");

    Mater panel(nullptr);
    panel.resize(321, 420);
    panel.show();
    if (!QTest::qWaitForWindowExposed(&panel))
        return 1;
    QTest::qWait(300);
    const QPixmap shot = panel.grab();
    if (!shot.save(output)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("saved %s (%dx%d)\n", qPrintable(output), shot.width(), shot.height());
    return 0;
}
