#include "qskinobject.h"

#include "qskinwidgetresizehandler.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QSettings>
#include <QSvgRenderer>
#include <QWidget>

namespace {

const QString kBorderTopLeft = QStringLiteral("border_topleft");
const QString kBorderTop = QStringLiteral("border_top");
const QString kBorderTopRight = QStringLiteral("border_topright");
const QString kBorderLeft = QStringLiteral("border_left");
const QString kBorderRight = QStringLiteral("border_right");
const QString kBorderBottomLeft = QStringLiteral("border_bottomleft");
const QString kBorderBottom = QStringLiteral("border_bottom");
const QString kBorderBottomRight = QStringLiteral("border_bottomright");
const QString kMinimize = QStringLiteral("minimize");
const QString kMaximize = QStringLiteral("maximize");
const QString kClose = QStringLiteral("close");

// QSettings splits unquoted INI values at commas; font descriptions contain commas.
QString iniText(const QVariant &value)
{
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

bool hasMinimizeArea(int set)
{
    return set == 0 || set == 1;
}

bool hasCloseArea(int set)
{
    return set != 3 && set != 7;
}

} // namespace

SkinButtonAreas skinButtonAreas(
    int buttonSet, int windowWidth, QSize buttonSize, int topHeight, int topRightWidth)
{
    const int set = buttonSet & 7;
    const int bw = buttonSize.width();
    const int bh = buttonSize.height();
    const int y = (topHeight - bh) / 2;
    const int right = windowWidth - topRightWidth;
    SkinButtonAreas areas;
    if (bw <= 0 || bh <= 0)
        return areas;
    if (hasCloseArea(set))
        areas.close = QRegion(right - bw, y, bw, bh);
    if (set == 0)
        areas.maximize = QRegion(right - 3 * bw, y, bw, bh);
    if (hasMinimizeArea(set))
        areas.minimize = QRegion(right - 5 * bw, y, bw, bh);
    return areas;
}

QSize iconSizeFromText(const QString &iconText)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)x(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(iconText);
    if (!match.hasMatch())
        return QSize();
    bool okWidth = false;
    bool okHeight = false;
    const QSize size(match.captured(1).toInt(&okWidth), match.captured(2).toInt(&okHeight));
    if (!okWidth || !okHeight || size.isEmpty())
        return QSize();
    return size;
}

bool insideButtonBand(const QPoint &pos, int windowWidth, int topHeight, int closeHeight)
{
    return pos.x() < windowWidth - 5 && pos.y() > 6 && pos.y() < 2 * topHeight - closeHeight + 6;
}

QSkinObject::QSkinObject(QWidget *window, int buttonSet_)
    : QObject(nullptr)
    , titleFont(QStringLiteral("Arial"))
    , titleColor(255, 100, 0)
    , backgroundColor(Qt::black)
    , skinWidget(window)
    , buttonSet(buttonSet_)
{
    m_originalFlags = window->windowFlags();
    // Keep the window's type (tool window, dialog) and only replace the frame hints.
    window->setWindowFlags((m_originalFlags & Qt::WindowType_Mask) | Qt::FramelessWindowHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    skinPixmap = QPixmap(window->width() + 12, window->height() + 12);
    skinPixmap.fill(Qt::transparent);
    // Nobody owns the skin object; it goes with its window.
    connect(window, &QObject::destroyed, this, &QObject::deleteLater);
}

QSkinObject::~QSkinObject() = default;

void QSkinObject::setSkinFile(const QString &path)
{
    skinFile = path;
    skinWidget->update();
}

QSize QSkinObject::elementSize(const QString &id) const
{
    if (!renderer || !renderer->isValid() || !renderer->elementExists(id))
        return QSize(0, 0);
    const QRectF bounds = renderer->boundsOnElement(id);
    return QSize(qRound(bounds.width()), qRound(bounds.height()));
}

void QSkinObject::loadSkinFile()
{
    QSettings settings(programFolder() + QLatin1Char('/') + skinFile, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Skin"));

    bool ok = false;
    const uint rgb = iniText(settings.value(QStringLiteral("Hintergrundfarbe"))).toUInt(&ok, 16);
    backgroundColor = ok ? QColor::fromRgb(rgb | 0xff000000u) : QColor(Qt::black);

    const QColor title(iniText(settings.value(QStringLiteral("Titelfarbe"))));
    titleColor = title.isValid() ? title : QColor(255, 100, 0);

    // A damaged value must not make the window invisible.
    const double a = iniText(settings.value(QStringLiteral("Alpha"))).toDouble(&ok);
    alpha = ok ? qBound(0.0, a, 1.0) : 1.0;

    const QString font = iniText(settings.value(QStringLiteral("Titelschrift")));
    titleFont = QFont(QStringLiteral("Arial"));
    if (!font.isEmpty())
        titleFont.fromString(font);

    const QString svg = iniText(settings.value(QStringLiteral("Skinpfad"), skinFile));
    skinFile = programFolder() + QLatin1Char('/') + svg;

    delete renderer;
    renderer = new QSvgRenderer(this);
    if (QFileInfo(skinFile).isFile())
        renderer->load(skinFile);
    m_maskSize = QSize();
}

void QSkinObject::startSkinning()
{
    loadSkinFile();
    const QPoint position = skinWidget->pos();
    skinWidget->setMouseTracking(true);
    skinWidget->setContentsMargins(elementSize(kBorderLeft).width(),
        elementSize(kBorderTop).height(), elementSize(kBorderRight).width(),
        elementSize(kBorderBottom).height());
    skinWidget->installEventFilter(this);
    if (!resizeHandler)
        resizeHandler = new QSkinWidgetResizeHandler(this, skinWidget);
    updateButtonAreas(skinWidget->width());
    skinWidget->setWindowOpacity(alpha);
    skinWidget->show();
    skinWidget->move(position);
}

void QSkinObject::stopSkinning()
{
    skinWidget->removeEventFilter(this);
    delete resizeHandler;
    resizeHandler = nullptr;
    const bool visible = skinWidget->isVisible();
    skinWidget->setMouseTracking(false);
    skinWidget->setContentsMargins(0, 0, 0, 0);
    skinWidget->clearMask();
    skinWidget->setWindowOpacity(1.0);
    skinWidget->setWindowFlags(m_originalFlags);
    m_maskSize = QSize();
    if (visible)
        skinWidget->show();
}

void QSkinObject::setAlphaValue(double a)
{
    alpha = a;
    skinWidget->setWindowOpacity(a);
}

QSize QSkinObject::largestButtonSize() const
{
    QSize size;
    for (const QString &button : { kMinimize, kMaximize, kClose })
        size = size.expandedTo(elementSize(button + QStringLiteral("_button_normal")));
    return size;
}

void QSkinObject::updateButtonAreas(int windowWidth)
{
    const SkinButtonAreas areas = skinButtonAreas(buttonSet, windowWidth, largestButtonSize(),
        elementSize(kBorderTop).height(), elementSize(kBorderTopRight).width());
    closeArea = areas.close;
    maximizeArea = areas.maximize;
    minimizeArea = areas.minimize;
}

void QSkinObject::renderElement(QPainter &painter, const QString &id, const QRectF &target)
{
    if (renderer && renderer->elementExists(id) && !target.isEmpty())
        renderer->render(&painter, id, target);
}

void QSkinObject::paintFrame(QPainter &painter)
{
    const int w = skinWidget->width();
    const int h = skinWidget->height();
    const QSize tl = elementSize(kBorderTopLeft);
    const QSize top = elementSize(kBorderTop);
    const QSize tr = elementSize(kBorderTopRight);
    const QSize left = elementSize(kBorderLeft);
    const QSize right = elementSize(kBorderRight);
    const QSize bl = elementSize(kBorderBottomLeft);
    const QSize bottom = elementSize(kBorderBottom);
    const QSize br = elementSize(kBorderBottomRight);

    renderElement(
        painter, kBorderTop, QRectF(tl.width(), 0, w - tl.width() - tr.width(), top.height()));
    renderElement(painter, kBorderTopLeft, QRectF(QPointF(0, 0), tl));
    renderElement(painter, kBorderTopRight, QRectF(QPointF(w - tr.width(), 0), tr));
    renderElement(
        painter, kBorderLeft, QRectF(0, tl.height(), left.width(), h - tl.height() - bl.height()));
    renderElement(painter, kBorderRight,
        QRectF(w - right.width(), tr.height(), right.width(), h - tr.height() - br.height()));
    renderElement(painter, kBorderBottomLeft, QRectF(QPointF(0, h - bl.height()), bl));
    renderElement(painter, kBorderBottom,
        QRectF(bl.width(), h - bottom.height(), w - bl.width() - br.width(), bottom.height()));
    renderElement(
        painter, kBorderBottomRight, QRectF(QPointF(w - br.width(), h - br.height()), br));

    painter.fillRect(QRect(left.width(), top.height(), w - left.width() - right.width(),
                         h - top.height() - bottom.height()),
        backgroundColor);
}

void QSkinObject::paintTitle(QPainter &painter)
{
    const int leftWidth = elementSize(kBorderLeft).width();
    const int rightWidth = elementSize(kBorderRight).width();
    const int topHeight = elementSize(kBorderTop).height();
    const QSize iconSize = iconSizeFromText(skinWidget->windowIconText());
    const QIcon icon = skinWidget->windowIcon();
    if (!icon.isNull()) {
        const QRect target = iconSize.isValid()
            ? QRect(QPoint(2 * leftWidth + 10, (topHeight - iconSize.height()) / 2), iconSize)
            : QRect(2 * leftWidth + 16, topHeight / 2 - 8, 16, 16);
        painter.drawPixmap(target, icon.pixmap(target.size()));
    }
    const QRect titleRect(2 * leftWidth + 36, 0,
        skinWidget->width() - 5 * largestButtonSize().width() - leftWidth - rightWidth, topHeight);
    painter.setFont(titleFont);
    painter.setPen(titleColor);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, skinWidget->windowTitle());
}

// Only fully transparent skin pixels become holes; half transparent corners stay part of
// the window. The shape depends on the size alone, so it is rebuilt only when that changes.
void QSkinObject::updateMask()
{
    if (m_maskSize == skinPixmap.size())
        return;
    m_maskSize = skinPixmap.size();
    const QImage image = skinPixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage mono(image.size(), QImage::Format_MonoLSB);
    mono.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    mono.fill(0);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *bits = mono.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0)
                bits[x >> 3] |= static_cast<uchar>(1u << (x & 7));
        }
    }
    skinWidget->setMask(QBitmap::fromImage(mono));
}

void QSkinObject::updateStyle()
{
    const int leftWidth = elementSize(kBorderLeft).width();
    const int rightWidth = elementSize(kBorderRight).width();
    skinWidget->setMinimumSize(leftWidth + rightWidth + 128,
        elementSize(kBorderTop).height() + elementSize(kBorderBottom).height());
    skinPixmap = QPixmap(skinWidget->size());
    skinPixmap.fill(Qt::transparent);
    {
        QPainter painter(&skinPixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        paintFrame(painter);
        paintTitle(painter);
    }
    updateMask();
    updateButtons();
}

QString QSkinObject::buttonElement(const QString &button, bool hover) const
{
    if (hover && pressed)
        return button + QStringLiteral("_button_pressed");
    if (hover)
        return button + QStringLiteral("_button_hover");
    return button + QStringLiteral("_button_normal");
}

void QSkinObject::updateButtons()
{
    if (skinPixmap.isNull())
        return;
    QPainter painter(&skinPixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!(buttonSet & 2) && !(buttonSet & 4))
        renderElement(
            painter, buttonElement(kMinimize, minimizeHover), minimizeArea.boundingRect());
    renderElement(painter, buttonElement(kClose, closeHover), closeArea.boundingRect());
}

void QSkinObject::updateHover(const QPoint &pos)
{
    struct Button
    {
        QRegion area;
        bool *hover;
    };
    const Button buttons[] = { { minimizeArea, &minimizeHover }, { maximizeArea, &maximizeHover },
        { closeArea, &closeHover } };
    for (const Button &button : buttons) {
        const bool over = button.area.contains(pos);
        if (over != *button.hover) {
            *button.hover = over;
            skinWidget->update(button.area);
        }
    }
}

void QSkinObject::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed = true;
    pressPos = event->globalPos();
    event->accept();
    skinWidget->update();
}

void QSkinObject::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed = false;
    skinWidget->update();
    const QPoint pos = event->pos();
    // Moves during the press went to the resize handler; catch up with where the mouse is.
    updateHover(pos);
    if (!insideButtonBand(pos, skinWidget->width(), elementSize(kBorderTop).height(),
            closeArea.boundingRect().height()))
        return;
    if (closeArea.contains(pos)) {
        event->accept();
        if (buttonSet & 4)
            skinWidget->hide();
        else
            skinWidget->close();
    } else if (minimizeArea.contains(pos)) {
        event->accept();
        skinWidget->showMinimized();
    }
}

// Button presses and releases reach the skin through the resize handler, which consumes them.
bool QSkinObject::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != skinWidget)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        updateStyle();
        QPainter painter(skinWidget);
        painter.setRenderHint(QPainter::Antialiasing);
        // Soft skin edges blend into the skin's own colour, not the style's light grey.
        painter.fillRect(skinWidget->rect(), backgroundColor);
        painter.drawPixmap(0, 0, skinPixmap);
        break;
    }
    case QEvent::Resize:
        updateButtonAreas(static_cast<QResizeEvent *>(event)->size().width());
        break;
    case QEvent::MouseMove:
        updateHover(static_cast<QMouseEvent *>(event)->pos());
        break;
    case QEvent::Show:
        minimizeHover = maximizeHover = closeHover = false;
        break;
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
    case QEvent::IconTextChange:
        // The title bar is ours to draw, so nobody else repaints it.
        skinWidget->update();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
