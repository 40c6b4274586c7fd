#pragma once

#include "vkimageset.h"

#include <QAbstractButton>

class QPainter;
class VkAction;

// A button drawn entirely from pictures. Bound to a checkable action it shows the
// column (unchecked/checked) matching the action and follows its enablement.
class VkButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit VkButton(QWidget *parent = nullptr);

    void setImages(const VkImageSet &images);
    void setAction(VkAction *action);
    // Words drawn over the pictures, which carry none, so that the button speaks the
    // learner's language: centred in `area`, or with a smaller second line `note` below
    // it, both left-aligned. The caption is also the button's text for screen readers.
    void setCaption(const QString &caption, const QRect &area, const QString &note = QString());

    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void toggleImage();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap currentImage() const;
    void paintCaption(QPainter &painter) const;

    VkImageSet m_images;
    bool m_hovered = false;
    bool m_checkedLook = false;
    VkAction *m_action = nullptr;
    QRect m_captionArea;
    QString m_note;
};
