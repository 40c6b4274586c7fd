#pragma once

#include <QAction>

// An action that can add itself to its parent widget's action list, so that the
// parent's shortcuts reach it without a separate addAction() call.
class VkAction : public QAction
{
    Q_OBJECT
public:
    explicit VkAction(QObject *parent = nullptr, bool addToParent = false);
};
