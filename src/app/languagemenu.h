#pragma once

class QMenu;
class QWidget;

// The choice of the interface's language, for the main window's context menu: the system's,
// English or Chinese, kept in the learner's settings and used from the next start on.
QMenu *makeLanguageMenu(QWidget *window);
