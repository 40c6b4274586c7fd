#include "uilanguage.h"
#include "update.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // In the trainer's language: the installation's catalogues hold the updater's texts too.
    installTranslations(&app, interfaceLanguage());
    const QStringList arguments = QCoreApplication::arguments();

    update window;
    window.SetCurrentVersion(arguments.value(1));
    window.SetTargetVersion(arguments.value(2));
    window.BuildVersionList();
    window.show();
    // Started from the running loop, so that quitting while the first size query
    // waits really ends the program.
    QTimer::singleShot(0, &window, &update::StartUpdate);
    return app.exec();
}
