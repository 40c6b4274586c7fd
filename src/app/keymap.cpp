#include "keymap.h"

#include "mater.h"
#include "usersettings.h"
#include "zorva.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Group { Player, Marks, Training, Recording, Windows, Program, More };

const char *const groupNames[] = { QT_TRANSLATE_NOOP("Keymap", "Player"),
    QT_TRANSLATE_NOOP("Keymap", "Loop marks"), QT_TRANSLATE_NOOP("Keymap", "Training"),
    QT_TRANSLATE_NOOP("Keymap", "Your recording"), QT_TRANSLATE_NOOP("Keymap", "Texts and windows"),
    QT_TRANSLATE_NOOP("Keymap", "Program"), QT_TRANSLATE_NOOP("Keymap", "More") };

struct KeyDefault
{
    const char *name;
    // Null: the action keeps the keys it comes with.
    const char *key;
    // What the action does, for the key sheet, tooltips and screen readers. Null for actions
    // other parts make, which keep their own text (and are left out when they are missing).
    const char *text;
    // The buttons (blank-separated object names) the action stands for.
    const char *buttons;
    Group group;
    // True: a key presses the first of the buttons that is shown and enabled.
    bool presses;
};

// Function keys and Ctrl or Alt with a letter, digit or arrow: no plain letters, arrows or
// Space, which the importer's fields, the library's lists and focused buttons need.
// Practice and repeat buttons share keys: the bar never shows both sets at once, and an
// action is enabled only while its button is shown. Previous once had the same key as Play
// (Ctrl+P) and About Qt the desktop's Quit key (Ctrl+Q): both have keys of their own.
const KeyDefault keyDefaults[] = {
    { "playPauseAction", "F9", QT_TRANSLATE_NOOP("Keymap", "Play or pause the material"), "btnPlayPause btnListen", Player, true },
    { "stopModelAction", "F10", QT_TRANSLATE_NOOP("Keymap", "Stop the material"), "btnStop", Player, true },
    { "backwardAction", "F7", QT_TRANSLATE_NOOP("Keymap", "Back 30 seconds"), "btnBackward", Player, true },
    { "forwardAction", "F8", QT_TRANSLATE_NOOP("Keymap", "Forward 30 seconds"), "btnForward", Player, true },
    { "slowerAction", nullptr, nullptr, "", Player, false },
    { "fasterAction", nullptr, nullptr, "", Player, false },
    { "markInSetAction", "Ctrl+I", QT_TRANSLATE_NOOP("Keymap", "Set mark-in here"), "btnMarkInSet", Marks, true },
    { "markOutSetAction", "Ctrl+E", QT_TRANSLATE_NOOP("Keymap", "Set mark-out here"), "btnMarkOutSet", Marks, true },
    { "markInEarlierAction", "Alt+Left", QT_TRANSLATE_NOOP("Keymap", "Mark-in 0.1 s earlier"), "btnMarkInSharpL", Marks, true },
    { "markInLaterAction", "Alt+Right", QT_TRANSLATE_NOOP("Keymap", "Mark-in 0.1 s later"), "btnMarkInSharpR", Marks, true },
    { "markOutEarlierAction", "Alt+Shift+Left", QT_TRANSLATE_NOOP("Keymap", "Mark-out 0.1 s earlier"), "btnMarkOutSharpL", Marks, true },
    { "markOutLaterAction", "Alt+Shift+Right", QT_TRANSLATE_NOOP("Keymap", "Mark-out 0.1 s later"), "btnMarkOutSharpR", Marks, true },
    { "markInResetAction", "Ctrl+Shift+I", QT_TRANSLATE_NOOP("Keymap", "Mark-in to the start"), "btnMarkInReset", Marks, true },
    { "markOutResetAction", "Ctrl+Shift+E", QT_TRANSLATE_NOOP("Keymap", "Mark-out to the end"), "btnMarkOutReset", Marks, true },
    { "markResetAction", "Ctrl+M", QT_TRANSLATE_NOOP("Keymap", "Clear both marks (no loop)"), "btnMarkReset", Marks, true },
    { "nextAction", "Ctrl+N", QT_TRANSLATE_NOOP("Keymap", "Start, or the next step"), "btnStart btnNext", Training, true },
    { "previousAction", "Ctrl+Shift+N", QT_TRANSLATE_NOOP("Keymap", "The previous step"), "btnPrevious", Training, true },
    { "recordAction", "F5", QT_TRANSLATE_NOOP("Keymap", "Record, or stop recording"), "btnRecord", Training, true },
    { "playSentenceAction", "F6", QT_TRANSLATE_NOOP("Keymap", "Play or pause your recording of the step"), "btnPlay", Training, true },
    { "practice1Action", "Ctrl+1", QT_TRANSLATE_NOOP("Keymap", "Play recording 1: retelling"), "btnPractice1", Training, true },
    { "practice2Action", "Ctrl+2", QT_TRANSLATE_NOOP("Keymap", "Play recording 2: consecutive"), "btnPractice2", Training, true },
    { "practice3Action", "Ctrl+3", QT_TRANSLATE_NOOP("Keymap", "Play recording 3: sight translation"), "btnPractice3", Training, true },
    { "practice4Action", "Ctrl+4", QT_TRANSLATE_NOOP("Keymap", "Play recording 4: second retelling"), "btnPractice4", Training, true },
    { "practice5Action", "Ctrl+5", QT_TRANSLATE_NOOP("Keymap", "Play recording 5: simultaneous"), "btnPractice5", Training, true },
    { "repeat1Action", "Ctrl+1", QT_TRANSLATE_NOOP("Keymap", "Review pass 1"), "btnRepeat1", Training, true },
    { "repeat2Action", "Ctrl+2", QT_TRANSLATE_NOOP("Keymap", "Review pass 2"), "btnRepeat2", Training, true },
    { "repeat3Action", "Ctrl+3", QT_TRANSLATE_NOOP("Keymap", "Review pass 3"), "btnRepeat3", Training, true },
    { "repeat4Action", "Ctrl+4", QT_TRANSLATE_NOOP("Keymap", "Review pass 4"), "btnRepeat4", Training, true },
    { "repeat5Action", "Ctrl+5", QT_TRANSLATE_NOOP("Keymap", "Review pass 5"), "btnRepeat5", Training, true },
    { "learnAgainAction", "Ctrl+L", QT_TRANSLATE_NOOP("Keymap", "Learn again (the next pass)"), "btnLearnAgain", Training, true },
    { "demonstrationAction", "Ctrl+D", QT_TRANSLATE_NOOP("Keymap", "The demonstration recordings"), "btnDemonstration", Training, true },
    { "backAction", "Ctrl+Backspace", QT_TRANSLATE_NOOP("Keymap", "Back to the passes"), "btnBack", Training, true },
    { "compareAction", nullptr, nullptr, "", Training, false },
    { "keepTakeAction", nullptr, nullptr, "", Training, false },
    { "playAction", "Ctrl+P", QT_TRANSLATE_NOOP("Keymap", "Play your recording"), "", Recording, false },
    { "pauseAction", "Ctrl+A", QT_TRANSLATE_NOOP("Keymap", "Pause your recording"), "", Recording, false },
    { "stopAction", "Ctrl+S", QT_TRANSLATE_NOOP("Keymap", "Stop your recording"), "", Recording, false },
    { "transcriptAction", "F3", QT_TRANSLATE_NOOP("Keymap", "Show the transcript, or hide the texts"), "btnTranscript", Windows, false },
    { "translationAction", "F4", QT_TRANSLATE_NOOP("Keymap", "Show the translation, or hide the texts"), "btnTranslation", Windows, false },
    { "libraryAction", "F2", QT_TRANSLATE_NOOP("Keymap", "Go to the library, or hide it"), "btnExpand", Windows, false },
    { "methodVideoAction", "Ctrl+F1", QT_TRANSLATE_NOOP("Keymap", "Video: the method"), "btnLeft", Windows, true },
    { "introVideoAction", "Shift+F1", QT_TRANSLATE_NOOP("Keymap", "Video: the program"), "btnRight", Windows, true },
    { "keySheetAction", "F1", QT_TRANSLATE_NOOP("Keymap", "Keys (this list)"), "", Program, false },
    { "openAction", "Ctrl+O", QT_TRANSLATE_NOOP("Keymap", "Open an audio file"), "", Program, false },
    { "aboutAction", "Ctrl+B", QT_TRANSLATE_NOOP("Keymap", "About"), "", Program, false },
    { "aboutQtAction", "Ctrl+Shift+B", QT_TRANSLATE_NOOP("Keymap", "About Qt"), "", Program, false },
    { "exitAction", nullptr, QT_TRANSLATE_NOOP("Keymap", "Quit"), "", Program, false },
};

QString keysText(const QAction *action)
{
    QStringList keys;
    for (const QKeySequence &key : action->shortcuts())
        keys << key.toString(QKeySequence::NativeText);
    return keys.join(QStringLiteral(", "));
}

bool usable(const QAbstractButton *button)
{
    return !button->isHidden() && button->isEnabled();
}

QDialog *makeKeySheet(const QList<Keymap::Line> &lines, QWidget *parent)
{
    auto *sheet = new QDialog(parent, Qt::Dialog);
    // The main window's black palette is for its study area only.
    sheet->setPalette(QApplication::palette(sheet));
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setObjectName(QStringLiteral("keySheet"));
    sheet->setWindowTitle(Keymap::tr("Keys"));
    auto *list = new QTreeWidget(sheet);
    list->setColumnCount(2);
    list->setHeaderLabels({ Keymap::tr("Action"), Keymap::tr("Key") });
    list->setRootIsDecorated(false);
    QTreeWidgetItem *group = nullptr;
    for (const Keymap::Line &line : lines) {
        if (!group || group->text(0) != line.group) {
            group = new QTreeWidgetItem(list, { line.group });
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setFirstColumnSpanned(true);
        }
        auto *item = new QTreeWidgetItem(group, { line.text, line.keys });
        item->setToolTip(0, line.name);
    }
    list->expandAll();
    list->resizeColumnToContents(0);
    list->resizeColumnToContents(1);
    auto *where = new QLabel(Keymap::tr("Other keys can be given in %1, group [keys], one line per "
                                        "action, for instance recordAction=F13 for a foot pedal.")
                                 .arg(QDir::toNativeSeparators(UserSettings().fileName())),
        sheet);
    where->setWordWrap(true);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(sheet);
    layout->addWidget(list);
    layout->addWidget(where);
    const int width = list->header()->length() + 40;
    sheet->resize(qMax(width, 420), 560);
    return sheet;
}

} // namespace

Keymap::Keymap(Zorva *window)
    : QObject(window)
    , m_window(window)
{
    setObjectName(QStringLiteral("keymap"));
    createActions();
    for (QAction *action : window->findChildren<QAction *>())
        adopt(action);
    window->installEventFilter(this); // actions other parts add later
}

void Keymap::createActions()
{
    for (const KeyDefault &row : keyDefaults) {
        auto *action = m_window->findChild<QAction *>(QLatin1String(row.name));
        if (!action && !row.text)
            continue; // that part is not built in
        if (!action) {
            action = new QAction(tr(row.text), m_window);
            action->setObjectName(QLatin1String(row.name));
        }
        if (row.key)
            action->setShortcut(QKeySequence(QLatin1String(row.key)));
        if (row.text)
            m_descriptions.insert(action, tr(row.text));
        m_groups.insert(action, row.group);
        for (const QString &name : QString::fromLatin1(row.buttons).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (auto *button = m_window->findChild<QAbstractButton *>(name))
                button->addAction(action);
        }
        if (row.presses) {
            connect(action, &QAction::triggered, this, [this, action] { pressButton(action); });
            followButtons(action);
        }
        adopt(action);
    }
    const auto command = [this](const char *name, auto handler) {
        if (QAction *action = m_window->findChild<QAction *>(QLatin1String(name)))
            connect(action, &QAction::triggered, this, handler);
    };
    command("transcriptAction", [this] { toggleText("textView"); });
    command("translationAction", [this] { toggleText("tranView"); });
    command("libraryAction", [this] { toggleLibrary(); });
    command("keySheetAction", [this] { showKeySheet(); });
}

// Every named action with a key works from all three windows and is listed on the key sheet.
void Keymap::adopt(QAction *action)
{
    if (!action || action->objectName().isEmpty() || m_actions.contains(action))
        return;
    if (!m_groups.contains(action) && action->shortcuts().isEmpty())
        return;
    m_groups.insert(action, m_groups.value(action, More));
    action->setShortcutContext(Qt::ApplicationShortcut);
    if (!m_window->actions().contains(action))
        m_window->addAction(action);
    m_actions.append(action);
    applyUserKeys(action);
    describeButtons(action);
}

bool Keymap::parseKeys(const QStringList &entry, QList<QKeySequence> *keys)
{
    for (const QString &item : entry) {
        const QString text = item.trimmed();
        if (text.isEmpty())
            continue;
        const QKeySequence key = QKeySequence::fromString(text, QKeySequence::PortableText);
        if (key.isEmpty() || key[0] == Qt::Key_unknown)
            return false;
        keys->append(key);
    }
    return true;
}

void Keymap::applyUserKeys(QAction *action)
{
    UserSettings settings;
    settings.beginGroup(QStringLiteral("keys"));
    const QString name = action->objectName();
    if (!settings.contains(name))
        return;
    const QStringList entry = settings.value(name).toStringList();
    QList<QKeySequence> keys;
    if (!parseKeys(entry, &keys)) {
        qWarning("The settings give %s a key that is not one (%s); it keeps %s", qPrintable(name),
            qPrintable(entry.join(QLatin1Char(','))), qPrintable(keysText(action)));
        return;
    }
    for (const QAction *other : qAsConst(m_actions)) {
        for (const QKeySequence &key : keys) {
            if (other != action && other->shortcuts().contains(key))
                qWarning("%s is the key of both %s and %s: neither works while both can",
                    qPrintable(key.toString()), qPrintable(name), qPrintable(other->objectName()));
        }
    }
    action->setShortcuts(keys);
}

QList<QAbstractButton *> Keymap::buttonsOf(const QAction *action) const
{
    QList<QAbstractButton *> buttons;
    for (QWidget *widget : action->associatedWidgets()) {
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            buttons.append(button);
    }
    return buttons;
}

QString Keymap::description(const QAction *action) const
{
    return m_descriptions.value(action, action->text().remove(QLatin1Char('&')));
}

void Keymap::describeButtons(QAction *action)
{
    const QString what = description(action);
    const QString keys = keysText(action);
    for (QAbstractButton *button : buttonsOf(action)) {
        button->setToolTip(keys.isEmpty() ? what : tr("%1 (%2)").arg(what, keys));
        // Picture buttons with a caption are announced by it, the others by what they do.
        button->setAccessibleName(button->text().isEmpty() ? what : button->text());
        button->setAccessibleDescription(keys.isEmpty() ? what : tr("%1. Key: %2").arg(what, keys));
    }
}

// A key works exactly while its button could be clicked; a key that pressed a hidden button
// would act in a set of the bar the learner does not see.
void Keymap::followButtons(QAction *action)
{
    for (QAbstractButton *button : buttonsOf(action))
        button->installEventFilter(this);
    const QList<QAbstractButton *> buttons = buttonsOf(action);
    action->setEnabled(std::any_of(buttons.begin(), buttons.end(), usable));
}

bool Keymap::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::ActionAdded)
            adopt(static_cast<QActionEvent *>(event)->action());
        return false;
    }
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::EnabledChange:
        for (QAction *action : static_cast<QWidget *>(watched)->actions()) {
            if (m_actions.contains(action)) {
                const QList<QAbstractButton *> buttons = buttonsOf(action);
                action->setEnabled(std::any_of(buttons.begin(), buttons.end(), usable));
            }
        }
        break;
    default:
        break;
    }
    return false;
}

void Keymap::pressButton(QAction *action)
{
    for (QAbstractButton *button : buttonsOf(action)) {
        if (usable(button)) {
            button->click();
            return;
        }
    }
}

void Keymap::toggleText(const char *view)
{
    const auto *shown = m_window->findChild<QWidget *>(QLatin1String(view));
    if (shown && !shown->isHidden())
        m_window->sltTextHide();
    else if (qstrcmp(view, "textView") == 0)
        m_window->sltTranscripTextShow(true);
    else
        m_window->sltTranslationTextShow(true);
}

// Shown and with the keyboard, the library hides; otherwise it comes forward with the
// keyboard in its list.
void Keymap::toggleLibrary()
{
    auto *library = m_window->findChild<Mater *>();
    if (!library)
        return;
    if (library->isVisible() && library->isActiveWindow()) {
        m_window->sltShowOrHide(false);
        m_window->activateWindow();
        return;
    }
    if (library->isHidden())
        m_window->sltShowOrHide(true);
    library->raise();
    library->activateWindow();
    library->focusList();
}

void Keymap::showKeySheet()
{
    if (!m_sheet)
        m_sheet = makeKeySheet(lines(), m_window);
    m_sheet->show();
    m_sheet->raise();
    m_sheet->activateWindow();
}

QList<Keymap::Line> Keymap::lines() const
{
    QList<Line> result;
    for (int group = Player; group <= More; ++group) {
        for (const QAction *action : m_actions) {
            if (m_groups.value(action) == group)
                result.append({ tr(groupNames[group]), description(action), keysText(action),
                    action->objectName() });
        }
    }
    return result;
}
