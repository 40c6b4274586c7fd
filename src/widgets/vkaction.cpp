#include "vkaction.h"

#include <QWidget>

VkAction::VkAction(QObject *parent, bool addToParent)
    : QAction(parent)
{
    if (!addToParent)
        return;
    if (auto *widget = qobject_cast<QWidget *>(parent))
        widget->addAction(this);
}
