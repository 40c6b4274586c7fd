// Draws the import dialog, filled in as a learner would leave it, under the current
// display and saves it as a PNG:
//   importersnapshot <output.png>
// The skin is read from the program's folder, where the build copies it.
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
    if (argc != 2) {
        std::fprintf(stderr, "usage: importersnapshot <output.png>\n");
        return 2;
    }
    zorvaInitResources();
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));

    Importer importer(nullptr);
    importer.findChild<QLineEdit *>(QStringLiteral("matName"))
        ->setText(QStringLiteral("城市与气候 Cities and climate"));
    importer.findChild<QLineEdit *>(QStringLiteral("mp3Name"))
        ->setText(QStringLiteral("/home/learner/Music/city_climate.mp3"));
    importer.findChild<QLineEdit *>(QStringLiteral("origTxt"))
        ->setText(QStringLiteral("/home/learner/Documents/city_climate.txt"));
    importer.show();
    if (!QTest::qWaitForWindowExposed(&importer))
        return 1;
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
        0, importer.x(), importer.y(), importer.width(), importer.height());
    return shot.save(output) ? 0 : 1;
}
