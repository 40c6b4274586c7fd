#include "installtransaction.h"
#include "logmessagehandler.h"
#include "uilanguage.h"
#include "zorva.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    // First, so that messages raised while the application object is built are logged too.
    qInstallMessageHandler(logMessageHandler);
    // Phonon's VLC backend ignores the 300 ms tick interval that the loop marks rely on;
    // a missing GStreamer backend makes Phonon fall back to whatever is installed.
    if (!qEnvironmentVariableIsSet("PHONON_BACKEND"))
        qputenv("PHONON_BACKEND", "phonon_gstreamer");

    QApplication app(argc, argv);
    // An update that a crash cut short is finished or undone before any installed file is read.
    recoverInterruptedInstall(QDir::currentPath());
    // The pictures are linked from a static library; without this nothing refers to them
    // and every button would be drawn blank.
    zorvaInitResources();
    QApplication::setApplicationName(QStringLiteral("Music Player"));
    QApplication::setQuitOnLastWindowClosed(true);

    // Qt 5 reads literals and tr() texts as UTF-8 already. A missing catalogue is not an error:
    // the window then shows its source texts. The learner's settings may name a language.
    installTranslations(&app, interfaceLanguage());

    Zorva window;
    window.show();
    return QApplication::exec();
}
