#include "uilanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace {

const char languageKey[] = "language";

// The trainer's own settings file (UserSettings in the trainer): the updater reads the same.
QSettings learnerSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zorva"),
        QStringLiteral("zorva"));
}

} // namespace

QString chosenLanguage()
{
    return learnerSettings().value(QLatin1String(languageKey)).toString().trimmed();
}

QString interfaceLanguage()
{
    const QString chosen = chosenLanguage();
    return chosen.isEmpty() ? QLocale::system().name() : chosen;
}

void setInterfaceLanguage(const QString &language)
{
    QSettings settings = learnerSettings();
    if (language.isEmpty())
        settings.remove(QLatin1String(languageKey));
    else
        settings.setValue(QLatin1String(languageKey), language);
}

void installTranslations(QCoreApplication *application, const QString &language)
{
    QLocale::setDefault(QLocale(language));
    auto *qt = new QTranslator(application);
    if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    // Installed last, so asked first: our catalogue also words Qt's standard buttons.
    auto *ours = new QTranslator(application);
    if (ours->load(QStringLiteral("./translations/app_") + language))
        QCoreApplication::installTranslator(ours);
}
