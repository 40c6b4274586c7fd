#include "fittextdelegate.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QStyle>

QFont fittingFont(const QFont &font, const QString &text, int width, qreal minimumPointSize)
{
    QFont fitted = font;
    if (font.pointSizeF() <= 0) // sized in pixels: leave it to the style
        return fitted;
    while (QFontMetrics(fitted).horizontalAdvance(text) > width
           && fitted.pointSizeF() - 0.5 >= minimumPointSize)
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    return fitted;
}

void FitTextDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    // The item view leaves this margin on both sides of the text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    QStyleOptionViewItem fitted(option);
    fitted.font = fittingFont(option.font, index.data(Qt::DisplayRole).toString(),
                              option.rect.width() - 2 * margin);
    QStyledItemDelegate::paint(painter, fitted, index);
}
