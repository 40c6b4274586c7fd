// Loading a 10 000-material list into the library's tree, against the time xmllint
// (libxml2) and xmlwf (expat) need only to parse the same file, measured in the same run.
#include "mater.h"
#include "xmlparser.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int runs = 7;
constexpr int categories = 100;
constexpr int perCategory = 100;

void writeList(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE vornask>\n<vornask version=\"1.0\">\n");
    int n = 0;
    for (int c = 0; c < categories; ++c) {
        file.write(QStringLiteral("    <train folded=\"%1\">\n        <title>分类 Category %2</title>\n")
                       .arg(c % 2 ? "yes" : "no").arg(c).toUtf8());
        for (int i = 0; i < perCategory; ++i, ++n)
            file.write(QStringLiteral("        <case learned=\"talk%1.mp3\" url=\"http://127.0.0.1:8471/m/talk%1.mp3\">\n"
                                      "            <title>材料 Material %1</title>\n        </case>\n")
                           .arg(n).toUtf8());
        file.write("    </train>\n");
    }
    file.write("</vornask>\n");
}

// The best of several runs: on a shared machine the other runs only measure its load.
double bestOf(const std::function<double()> &measure)
{
    std::vector<double> values;
    for (int i = 0; i < runs; ++i)
        values.push_back(measure());
    return *std::min_element(values.begin(), values.end());
}

// Wall time of one run of a tool, in milliseconds; negative when it could not run.
double toolWallMs(const QString &program, const QStringList &arguments, QByteArray *errors = nullptr)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return -1;
    const double ms = timer.nsecsElapsed() / 1e6;
    if (errors)
        *errors = process.readAllStandardError();
    return ms;
}

// xmllint reports the parse alone ("Parsing took 19 ms"), without its start-up.
double xmllintParseMs(const QString &file)
{
    QByteArray report;
    if (toolWallMs(QStringLiteral("xmllint"), {"--noout", "--timing", file}, &report) < 0)
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Parsing took ([0-9.]+) ms")).match(QString::fromLocal8Bit(report));
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
// The toolkit's reader alone, with a handler that only counts elements: the part of
// the load that the list code cannot make faster.
double readerOnlyMs(const QString &file)
{
    struct Counter : QXmlDefaultHandler {
        int elements = 0;
        bool startElement(const QString &, const QString &, const QString &, const QXmlAttributes &) override
        {
            ++elements;
            return true;
        }
    } counter;
    QElapsedTimer timer;
    timer.start();
    QFile input(file);
    QXmlInputSource source(&input);
    QXmlSimpleReader reader;
    reader.setContentHandler(&counter);
    reader.parse(&source);
    return timer.nsecsElapsed() / 1e6;
}
QT_WARNING_POP

double treeLoadMs(const QString &file)
{
    QTreeWidget tree;
    tree.setColumnCount(3);
    QElapsedTimer timer;
    timer.start();
    QFile input(file);
    XmlParser parser(&tree);
    parser.appendLog(QStringLiteral("bench %1\n").arg(file));
    parser.parseDevice(&input);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (tree.topLevelItemCount() != categories)
        std::fprintf(stderr, "unexpected tree: %d categories\n", tree.topLevelItemCount());
    return ms;
}

double panelStartMs()
{
    QElapsedTimer timer;
    timer.start();
    Mater panel(nullptr);
    return timer.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QDir().mkpath(QStringLiteral("workspace/train"));
    const QString list = dir.filePath(QStringLiteral("list.xml"));
    const QString tiny = dir.filePath(QStringLiteral("tiny.xml"));
    writeList(list);
    QFile tinyFile(tiny);
    tinyFile.open(QIODevice::WriteOnly);
    tinyFile.write("<vornask/>\n");
    tinyFile.close();

    std::printf("list: %d materials in %d categories, %.2f MB\n", categories * perCategory, categories,
                QFileInfo(list).size() / 1048576.0);
    treeLoadMs(list); // warm the file cache and the code

    const double lintParse = bestOf([&] { return xmllintParseMs(list); });
    const double lintWall = bestOf([&] { return toolWallMs("xmllint", {"--noout", list}); });
    const double wfWall = bestOf([&] { return toolWallMs("xmlwf", {list}); });
    const double wfStart = bestOf([&] { return toolWallMs("xmlwf", {tiny}); });
    const double readerOnly = bestOf([&] { return readerOnlyMs(list); });
    const double ours = bestOf([&] { return treeLoadMs(list); });

    QFile::remove(QStringLiteral("weblist.xml"));
    QFile::copy(tiny, QStringLiteral("weblist.xml"));
    const double panelEmpty = bestOf(panelStartMs);
    QFile::remove(QStringLiteral("weblist.xml"));
    QFile::copy(list, QStringLiteral("weblist.xml"));
    const double panelFull = bestOf(panelStartMs);

    std::printf("best of %d runs (ms):\n", runs);
    std::printf("  xmllint --noout, parse (--timing)   %8.1f\n", lintParse);
    std::printf("  xmllint --noout, wall               %8.1f\n", lintWall);
    std::printf("  xmlwf, wall minus start-up          %8.1f  (%.1f - %.1f)\n", wfWall - wfStart, wfWall, wfStart);
    std::printf("  QXmlSimpleReader, counting only     %8.1f\n", readerOnly);
    std::printf("  XmlParser into a QTreeWidget        %8.1f\n", ours);
    std::printf("  library panel start with the list   %8.1f  (%.1f with an empty list)\n", panelFull - panelEmpty, panelEmpty);
    const double floor = lintParse > 0 ? lintParse : lintWall;
    std::printf("ratio tree load / xmllint parse:    %.2f (target < 4)\n", ours / floor);
    if (wfWall > 0 && wfWall - wfStart > 0)
        std::printf("ratio tree load / xmlwf parse:      %.2f\n", ours / (wfWall - wfStart));
    std::printf("ratio panel load / xmllint parse:   %.2f\n", (panelFull - panelEmpty) / floor);
    return 0;
}
