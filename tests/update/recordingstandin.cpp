// Stands in for a program that another one starts (the updater, the trainer): records
// how it was started into "standin-record.txt" in its working directory: a JSON array
// of its own file name, the working directory and the arguments, kept byte for byte.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
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
    record.write(QJsonDocument(QJsonArray::fromStringList(lines)).toJson());
    return record.commit() ? 0 : 1;
}
