#include "editor.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextStream>

QString stripTranscriptMarkup(QString text)
{
    static const char *const leftovers[]
        = { "<div>", "</div>", "<p>", "</p>", "<br>", "</br>", "&nbsp;", "&lt;", "&gt;", "<br />" };
    for (const char *leftover : leftovers)
        text.remove(QLatin1String(leftover), Qt::CaseSensitive);
    return text;
}

QString editorStyleSheet(const QColor &color, const QFont &font, int fontSize)
{
    const QString c = color.name(QColor::HexRgb);
    return QStringLiteral("QTextEdit {font-family: \"") + font.toString()
        + QStringLiteral("\";font-size: ") + QString::number(fontSize) + QStringLiteral("px;color:")
        + c
        + QStringLiteral(";}QScrollBar:vertical {border: 0px;background: transparent;width: 15px;"
                         "margin: 22px 0 22px 0;}QScrollBar::handle:vertical {border: 1px solid")
        + c
        + QStringLiteral(
            ";background: transparent;min-height: 20px;}QScrollBar::add-line:vertical "
            "{border: 0px;background: transparent;height: 20px;subcontrol-position: "
            "bottom;subcontrol-origin: margin;}QScrollBar::sub-line:vertical {border: 0px;"
            "background: transparent;height: 20px;subcontrol-position: top;"
            "subcontrol-origin: margin;}QScrollBar::up-arrow:vertical, "
            "QScrollBar::down-arrow:vertical {border: 2px solid")
        + c + QStringLiteral(";width: 3px;height: 3px;background:") + c
        + QStringLiteral(
            ";}QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical {background: "
            "none;}QScrollBar:horizontal {border: 0px;background: transparent;height: "
            "15px;margin: 0px 22px 0 22px;}QScrollBar::handle:horizontal {border: 1px solid")
        + c
        + QStringLiteral(
            ";background: transparent;min-width: 20px;}QScrollBar::add-line:horizontal "
            "{border: 0px;background: transparent;width: 20px;subcontrol-position: right;"
            "subcontrol-origin: margin;}QScrollBar::sub-line:horizontal {border: 0px;"
            "background: transparent;width: 20px;subcontrol-position: left;"
            "subcontrol-origin: margin;}QScrollBar::left-arrow:horizontal, "
            "QScrollBar::right-arrow:horizontal {border: 2px solid")
        + c + QStringLiteral(";width: 3px;height: 3px;background:") + c
        + QStringLiteral(";}QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal "
                         "{background: none;}");
}

bool onFrameEdge(const QRect &frame, const QPoint &pos)
{
    return frame.contains(pos, false) && !frame.contains(pos, true);
}

Editor::Editor(int x, int y, int width, int height, const QColor &textColor_, int fontSize_,
    const QFont &font_, double opacity_)
    : QWidget(nullptr)
    , frame(x, y, width, height)
    , opacity(opacity_)
{
    setStyleSheet(QStringLiteral("QPushButton{border:0px;}"));

    textEdit = new QTextEdit(this);
    // A custom policy with nothing connected: a right click shows no menu.
    textEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    textEdit->setTabStopDistance(20);
    textEdit->setReadOnly(true);
    placeTextArea();
    textEdit->viewport()->setAutoFillBackground(false);
    textEdit->setFrameShape(QFrame::NoFrame);

    setMouseTracking(true);
    dragging = false;
    fontSize = fontSize_;
    textFont = font_;
    textColor = textColor_;
    applyStyle();
    frameHidden = true;
    connect(
        textEdit->document(), &QTextDocument::contentsChanged, this, &Editor::documentWasModified);
    // The text area covers the frame's right and bottom edge pixels; mouse input there
    // belongs to the frame all the same.
    textEdit->viewport()->installEventFilter(this);
}

void Editor::applyStyle()
{
    textEdit->setStyleSheet(editorStyleSheet(textColor, textFont, fontSize));
}

void Editor::placeTextArea()
{
    textEdit->setGeometry(frame.x() + 1, frame.y() + 1, frame.width() - 1, frame.height() - 1);
}

void Editor::open(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    textEdit->setPlainText(stripTranscriptMarkup(in.readAll()));
}

void Editor::resizeRect(int x, int y)
{
    frame.setWidth(x);
    frame.setHeight(y);
    placeTextArea();
    update();
}

void Editor::documentWasModified()
{
    frameHidden = true;
    update();
}

bool Editor::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != textEdit->viewport()
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove
            && type != QEvent::MouseButtonRelease))
        return QWidget::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    QMouseEvent mapped(type, textEdit->viewport()->mapTo(this, mouse->pos()), mouse->windowPos(),
        mouse->screenPos(), mouse->button(), mouse->buttons(), mouse->modifiers());
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton || !onFrameEdge(frame, mapped.pos()))
            return false;
        mousePressEvent(&mapped);
        return true;
    case QEvent::MouseMove:
        mouseMoveEvent(&mapped);
        return dragging;
    default:
        if (!dragging)
            return false;
        mouseReleaseEvent(&mapped);
        return true;
    }
}

void Editor::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!frameHidden) {
        // The text colour stands out against the background pictures chosen for it.
        painter.setPen(QPen(textColor, 1, Qt::DashLine));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::SolidLine);
        painter.setBackgroundMode(Qt::OpaqueMode);
    }
    painter.setOpacity(opacity);
    painter.fillRect(frame, Qt::white);
    painter.setOpacity(1.0);
    // While the outline shows, keep the shape chosen by the last mouse move (size-all on the
    // edge), so the user can see where the frame can be grabbed.
    setCursor(frameHidden ? QCursor(Qt::BlankCursor) : frameCursor);
}

void Editor::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && onFrameEdge(frame, event->pos())) {
        lastPos = event->pos();
        dragging = true;
    }
}

void Editor::mouseReleaseEvent(QMouseEvent *)
{
    dragging = false;
}

void Editor::mouseMoveEvent(QMouseEvent *event)
{
    frameHidden = false;
    if (dragging) {
        frame.translate(event->pos() - lastPos);
        lastPos = event->pos();
    }
    frameCursor = QCursor(onFrameEdge(frame, event->pos()) ? Qt::SizeAllCursor : Qt::ArrowCursor);
    setCursor(frameCursor);
    placeTextArea();
    update();
}
