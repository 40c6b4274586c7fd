#include "vkbutton.h"

#include "focusring.h"
#include "vkaction.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr int captionPixels = 15;
constexpr int notePixels = 10;
// Longer words (English in a picture made for two Chinese characters) are set smaller.
constexpr int smallestPixels = 9;

QFont fittingFont(QFont font, int pixels, const QString &text, int width)
{
    font.setPixelSize(pixels);
    while (pixels > smallestPixels && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(--pixels);
    return font;
}

} // namespace

VkButton::VkButton(QWidget *parent)
    : QAbstractButton(parent)
{
    showKeyboardFocus(this);
}

void VkButton::setCaption(const QString &caption, const QRect &area, const QString &note)
{
    m_captionArea = area;
    m_note = note;
    setText(caption);
    update();
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
    if (!text().isEmpty())
        paintCaption(painter);
}

void VkButton::paintCaption(QPainter &painter) const
{
    const QColor ink = isEnabled() ? QColor(Qt::white) : QColor(255, 255, 255, 110);
    const int width = m_captionArea.width();
    painter.setPen(ink);
    if (m_note.isEmpty()) {
        painter.setFont(fittingFont(font(), captionPixels, text(), width));
        painter.drawText(m_captionArea, Qt::AlignCenter, text());
        return;
    }
    const int split = m_captionArea.height() * 3 / 5;
    const QRect title(m_captionArea.left(), m_captionArea.top(), width, split);
    const QRect note(m_captionArea.left(), m_captionArea.top() + split, width,
        m_captionArea.height() - split);
    painter.setFont(fittingFont(font(), captionPixels, text(), width));
    painter.drawText(title, Qt::AlignLeft | Qt::AlignBottom, text());
    painter.setPen(QColor(0xb4, 0xc0, 0xcc));
    painter.setFont(fittingFont(font(), notePixels, m_note, width));
    painter.drawText(note, Qt::AlignLeft | Qt::AlignVCenter, m_note);
}
