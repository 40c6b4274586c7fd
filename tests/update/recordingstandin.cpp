// Stands in for a program that another one starts (the updater, the trainer): records
// how it was started into "standin-record.txt" in its working directory. Line 1 is
// its own file name, line 2 the working directory, then one line per argument.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList lines{QFileInfo(QCoreApplication::applicationFilePath()).fileName(), QDir::currentPath()};
    lines += QCoreApplication::arguments().mid(1);
    // Written in one step, so that a waiting test never reads half a record.
    QSaveFile record(QStringLiteral("standin-record.txt"));
    if (!record.open(QIODevice::WriteOnly))
        return 1;
    record.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return record.commit() ? 0 : 1;
}
