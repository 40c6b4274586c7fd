#include "octimgbtn.h"

#include "focusring.h"

#include <QPainter>

OctImgBtn::OctImgBtn(QWidget *parent)
    : QCheckBox(parent)
{
    showKeyboardFocus(this);
    // The caption of the state shown is also the button's text, for screen readers.
    connect(this, &QAbstractButton::toggled, this,
        [this](bool checked) { setText(checked ? m_checkedText : m_uncheckedText); });
}

void OctImgBtn::setImages(const QPixmap &sheet, int rows)
{
    // A row count below one would divide by zero; treat it as a single row.
    rows = qMax(1, rows);
    const int rowHeight = sheet.height() / rows;
    const int columns = isCheckable() ? 2 : 1;
    const int columnWidth = sheet.width() / columns;
    setFixedSize(columnWidth, rowHeight);

    auto cut = [&](int row, int column) {
        return sheet.copy(column * columnWidth, row * rowHeight, columnWidth, rowHeight);
    };
    QPixmap *unchecked[] = {&m_uncheckedNormal, &m_uncheckedHover, &m_uncheckedPressed,
                            &m_uncheckedDisabled};
    QPixmap *checked[] = {&m_checkedNormal, &m_checkedHover, &m_checkedPressed,
                          &m_checkedDisabled};
    for (int row = 0; row < 4; ++row) {
        *unchecked[row] = row < rows ? cut(row, 0) : QPixmap();
        *checked[row] = row < rows && columns == 2 ? cut(row, 1) : QPixmap();
    }
    update();
}

void OctImgBtn::setTexts(const QString &uncheckedText, const QString &checkedText)
{
    m_uncheckedText = uncheckedText;
    m_checkedText = checkedText;
    setText(isChecked() ? m_checkedText : m_uncheckedText);
    update();
}

void OctImgBtn::enterEvent(QEvent *event)
{
    m_hovered = true;
    update();
    QCheckBox::enterEvent(event);
}

void OctImgBtn::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QCheckBox::leaveEvent(event);
}

bool OctImgBtn::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

const QPixmap &OctImgBtn::currentPicture() const
{
    const bool checked = isChecked();
    if (!isEnabled())
        return checked ? m_checkedDisabled : m_uncheckedDisabled;
    if (isDown())
        return checked ? m_checkedPressed : m_uncheckedPressed;
    if (m_hovered)
        return checked ? m_checkedHover : m_uncheckedHover;
    return checked ? m_checkedNormal : m_uncheckedNormal;
}

void OctImgBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap &picture = currentPicture();
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
    painter.drawText(rect(), Qt::AlignCenter, isChecked() ? m_checkedText : m_uncheckedText);
}
