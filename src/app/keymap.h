#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractButton;
class QAction;
class QWidget;
class Zorva;

// The trainer's keys. Every action of the player and of the training has one, on an action
// of the main window that works whichever of the trainer's windows has the keyboard. The
// bar's and the panel's buttons are pressed through these actions, show their keys in their
// tooltips and carry their names for screen readers. Any named action of the main window that
// comes with a key of its own (made by other parts, now or later) joins the keys. The learner
// may give any action other keys in the settings file: group "keys", one entry per action
// name, e.g. "recordAction=F13" for a foot pedal; an empty entry leaves an action without one.
class Keymap final : public QObject
{
    Q_OBJECT
public:
    explicit Keymap(Zorva *window);

    struct Line
    {
        QString group;
        QString text;
        QString keys;
        QString name;
    };
    // Everything that has a key, group by group, as the key sheet lists it.
    QList<Line> lines() const;

    // The keys an entry of the settings file names ("F5", or several: "F5, Pause"); false
    // when one of them is no key.
    static bool parseKeys(const QStringList &entry, QList<QKeySequence> *keys);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void adopt(QAction *action);
    void applyUserKeys(QAction *action);
    void describeButtons(QAction *action);
    void followButtons(QAction *action);
    void pressButton(QAction *action);
    void toggleText(const char *view);
    void toggleLibrary();
    void showKeySheet();
    QList<QAbstractButton *> buttonsOf(const QAction *action) const;
    QString description(const QAction *action) const;

    Zorva *m_window = nullptr;
    QList<QAction *> m_actions; // in the order of the key sheet
    QHash<const QAction *, int> m_groups;
    QHash<const QAction *, QString> m_descriptions;
    QPointer<QWidget> m_sheet;
};
