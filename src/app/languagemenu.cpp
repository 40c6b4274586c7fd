#include "languagemenu.h"

#include "uilanguage.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>

namespace {
struct LanguageMenu
{
    Q_DECLARE_TR_FUNCTIONS(LanguageMenu)
};
} // namespace

QMenu *makeLanguageMenu(QWidget *window)
{
    auto *menu = new QMenu(LanguageMenu::tr("Language"), window);
    menu->setObjectName(QStringLiteral("languageMenu"));
    auto *choices = new QActionGroup(menu);
    // Each language is named in itself, so that a learner finds theirs in any interface.
    const struct
    {
        QString text;
        QString language;
    } languages[] = { { LanguageMenu::tr("The system's language"), QString() },
        { QStringLiteral("English"), QStringLiteral("en") },
        { QStringLiteral("中文"), QStringLiteral("zh_CN") } };
    for (const auto &language : languages) {
        QAction *choice = menu->addAction(language.text);
        choice->setCheckable(true);
        choice->setChecked(language.language == chosenLanguage());
        choice->setData(language.language);
        choices->addAction(choice);
        QObject::connect(choice, &QAction::triggered, window, [window, code = language.language] {
            setInterfaceLanguage(code);
            auto *box = new QMessageBox(QMessageBox::Information, LanguageMenu::tr("Language"),
                LanguageMenu::tr("ZORVA shows the language you chose from its next start on."),
                QMessageBox::Ok, window);
            box->setPalette(QApplication::palette(box)); // not the window's black
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
        });
    }
    return menu;
}
