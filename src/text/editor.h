#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QTextEdit;

// Removes the HTML leftovers that transcripts carry (a fixed list, case-sensitive, in a
// fixed order); entities are dropped, not decoded.
QString stripTranscriptMarkup(QString text);

// The text area's style sheet for a colour, font and pixel size.
QString editorStyleSheet(const QColor &color, const QFont &font, int fontSize);

// True on the one-pixel outline of frame, false strictly inside or outside it.
bool onFrameEdge(const QRect &frame, const QPoint &pos);

// Read-only text panel: a draggable text frame with a white veil over the background
// that its owner paints, and a transparent text area inside the frame.
class Editor : public QWidget
{
    Q_OBJECT
public:
    Editor(int x, int y, int width, int height, const QColor &textColor, int fontSize,
        const QFont &font, double opacity);

    QRect frameRect() const { return frame; }
    bool isFrameHidden() const { return frameHidden; }
    bool isDragging() const { return dragging; }
    QTextEdit *textArea() const { return textEdit; }
    QColor textColorValue() const { return textColor; }
    int fontSizeValue() const { return fontSize; }
    QFont fontValue() const { return textFont; }
    double opacityValue() const { return opacity; }

public slots:
    void open(const QString &path);
    void resizeRect(int x, int y);
    void documentWasModified();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void applyStyle();
    void placeTextArea();

    QRect frame;
    bool frameHidden = true;
    QTextEdit *textEdit = nullptr;
    qint32 fontSize = 0;
    QFont textFont; // not "font": that would hide QWidget::font()
    QColor textColor;
    double opacity = 0.0;
    QPoint lastPos;
    QCursor frameCursor; // not "cursor": that would hide QWidget::cursor()
    bool dragging = false;
};
