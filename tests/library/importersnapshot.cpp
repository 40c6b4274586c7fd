// Draws the import dialog, filled in as a learner would leave it, under the current
// display and saves it as a PNG:
//   importersnapshot <install dir with skin/> <output.png>
#include "importer.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: importersnapshot <install dir> <output.png>\n");
        return 2;
    }
    zorvaInitResources();
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2]));
    QDir::setCurrent(QString::fromLocal8Bit(argv[1])); // the skin is read from there

    Importer importer(nullptr);
    importer.findChild<QLineEdit *>(QStringLiteral("matName"))->setText(QStringLiteral("城市与气候 Cities and climate"));
    importer.findChild<QLineEdit *>(QStringLiteral("mp3Name"))->setText(QStringLiteral("/home/learner/Music/city_climate.mp3"));
    importer.findChild<QLineEdit *>(QStringLiteral("origTxt"))->setText(QStringLiteral("/home/learner/Documents/city_climate.txt"));
    importer.show();
    if (!QTest::qWaitForWindowExposed(&importer))
        return 1;
    QTest::qWait(300); // let the window manager-less display settle the shaped frame
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, importer.x(), importer.y(),
                                                                      importer.width(), importer.height());
    return shot.save(output) ? 0 : 1;
}
