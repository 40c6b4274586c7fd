#pragma once

#include <QCheckBox>
#include <QPixmap>

// A check box drawn as a picture cut from a sheet (rows: normal, hover, pressed,
// disabled; a second column for the checked look) with a centred caption.
class OctImgBtn : public QCheckBox
{
    Q_OBJECT
public:
    explicit OctImgBtn(QWidget *parent = nullptr);

    void setImages(const QPixmap &sheet, int rows);
    void setTexts(const QString &uncheckedText, const QString &checkedText);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    const QPixmap &currentPicture() const;

    bool m_hovered = false;
    QPixmap m_uncheckedNormal;
    QPixmap m_uncheckedPressed;
    QPixmap m_uncheckedHover;
    QPixmap m_uncheckedDisabled;
    QPixmap m_checkedNormal;
    QPixmap m_checkedPressed;
    QPixmap m_checkedHover;
    QPixmap m_checkedDisabled;
    QString m_uncheckedText;
    QString m_checkedText;
};
