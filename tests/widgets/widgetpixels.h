#pragma once
// Pixel helpers shared by the widget tests.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

// One flat colour per cell, so every cut of a picture sheet can be told apart by a pixel.
inline QColor cellColour(int row, int column)
{
    return QColor(QColor::fromHsv(row * 40 + column * 180, 255, 255).rgba());
}

inline QPixmap sheet(int rows, int columns, int cellWidth, int cellHeight)
{
    QImage image(columns * cellWidth, rows * cellHeight, QImage::Format_ARGB32);
    QPainter painter(&image);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            painter.fillRect(column * cellWidth, row * cellHeight, cellWidth, cellHeight,
                             cellColour(row, column));
    painter.end();
    return QPixmap::fromImage(image);
}

// The widget's own painting over a transparent canvas: what it leaves out stays alpha 0.
inline QImage rendered(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

inline bool isBlank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

inline void hover(QWidget &widget, bool inside)
{
    QEvent event(inside ? QEvent::Enter : QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &event);
}
