#pragma once

#include <QStyledItemDelegate>

class QFont;

// Draws a cell's text in a smaller font when it would not fit the column otherwise; the
// library's status columns are only 30 pixels wide.
class FitTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

// The font to draw text within width pixels: font itself when the text fits, else the
// largest half-point step below it that fits, never smaller than minimumPointSize.
QFont fittingFont(const QFont &font, const QString &text, int width, qreal minimumPointSize = 7.0);
