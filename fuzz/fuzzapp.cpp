#include "fuzzapp.h"

#include <QApplication>
#include <QCoreApplication>

namespace {

int g_argc = 1;
char g_name[] = "zorva-fuzz";
char *g_argv[] = {g_name, nullptr};

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

QCoreApplication *fuzzGuiApplication()
{
    if (QCoreApplication::instance())
        return QCoreApplication::instance();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropMessages);
    // Leaked on purpose: it lives as long as the process, and destroying it at exit
    // would race libFuzzer's own exit handling.
    return new QApplication(g_argc, g_argv);
}

QCoreApplication *fuzzCoreApplication()
{
    if (QCoreApplication::instance())
        return QCoreApplication::instance();
    qInstallMessageHandler(dropMessages);
    return new QCoreApplication(g_argc, g_argv);
}

// Fontconfig keeps caches it never frees once the first widget asks for a font; they
// are not ours and not per input, so the leak check must not count them.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
