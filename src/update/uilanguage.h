#pragma once

#include <QString>

class QCoreApplication;

// The language of both programs' windows: the "language" entry of the learner's settings
// (a locale name such as "zh_CN", "zh" or "en"), or the system's when there is none. Both
// programs run in the installation folder and read their texts from its catalogues.
QString interfaceLanguage();
// The settings' entry alone: empty while the system's language is followed.
QString chosenLanguage();
// Empty: follow the system again. Used from the next start on.
void setInterfaceLanguage(const QString &language);
// Loads "./translations/app_<language>" (which falls back to "app_zh", then to the English
// "app") and, where the system has them, Qt's own texts for its standard dialogs.
void installTranslations(QCoreApplication *application, const QString &language);
