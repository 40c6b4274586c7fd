#pragma once

#include "vkimageset.h"

#include <QAbstractButton>

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

    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void toggleImage();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap currentImage() const;

    VkImageSet m_images;
    bool m_hovered = false;
    bool m_checkedLook = false;
    VkAction *m_action = nullptr;
};
