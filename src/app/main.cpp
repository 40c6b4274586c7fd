#include "installtransaction.h"
#include "logmessagehandler.h"
#include "uilanguage.h"
#include "zorva.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QDir>

#include <memory>

namespace {

// Desktops group windows and find the launcher's icon by the window class, which the X11
// platform takes from the application name when the first window is made. The desktop file
// calls the program "zorva"; the application name stays what it always was.
class WindowClassScope
{
public:
    WindowClassScope()
        : m_applicationName(QApplication::applicationName())
        , m_ownInstanceName(!qEnvironmentVariableIsSet("RESOURCE_NAME"))
    {
        if (m_ownInstanceName)
            qputenv("RESOURCE_NAME", "zorva");
        QApplication::setApplicationName(QStringLiteral("zorva"));
    }
    ~WindowClassScope()
    {
        QApplication::setApplicationName(m_applicationName);
        // Programs started from the trainer (the updater) name their own windows.
        if (m_ownInstanceName)
            qunsetenv("RESOURCE_NAME");
    }

private:
    const QString m_applicationName;
    const bool m_ownInstanceName;
};

} // namespace

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

    std::unique_ptr<WindowClassScope> windowClass = std::make_unique<WindowClassScope>();
    Zorva window;
    window.winId();
    windowClass.reset();
    window.show();
    return QApplication::exec();
}
