#include "vkbutton.h"

#include "vkaction.h"

#include <QEvent>
#include <QPainter>

VkButton::VkButton(QWidget *parent)
    : QAbstractButton(parent)
{
}

void VkButton::setImages(const VkImageSet &images)
{
    m_images = images;
    update();
}

void VkButton::setAction(VkAction *action)
{
    // Rebinding must not leave the old action triggered by our clicks.
    if (m_action) {
        m_action->removeEventFilter(this);
        disconnect(this, nullptr, m_action, nullptr);
        disconnect(m_action, nullptr, this, nullptr);
    }
    m_action = action;
    if (!m_action)
        return;
    setEnabled(m_action->isEnabled());
    m_action->installEventFilter(this);
    connect(this, &QAbstractButton::clicked, m_action, &QAction::trigger);
    if (m_action->isCheckable()) {
        toggleImage();
        connect(m_action, &QAction::toggled, this, &VkButton::toggleImage);
    }
}

void VkButton::toggleImage()
{
    if (!m_action)
        return;
    if (isCheckable())
        setChecked(m_action->isChecked());
    else
        m_checkedLook = m_action->isChecked();
    update();
}

bool VkButton::eventFilter(QObject *watched, QEvent *event)
{
    if (m_action && watched == m_action && event->type() == QEvent::ActionChanged)
        setEnabled(m_action->isEnabled());
    return QAbstractButton::eventFilter(watched, event);
}

void VkButton::enterEvent(QEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void VkButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

QPixmap VkButton::currentImage() const
{
    if (isEnabled() && (isDown() || isChecked()))
        return m_images.get(VkImageSet::Pressed, m_checkedLook);
    if (!isEnabled())
        return m_images.get(VkImageSet::Disabled, m_checkedLook);
    return m_images.get(m_hovered ? VkImageSet::Hover : VkImageSet::Normal, m_checkedLook);
}

void VkButton::paintEvent(QPaintEvent *)
{
    const QPixmap image = currentImage();
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, image);
}
