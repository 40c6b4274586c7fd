#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QString>

class QMouseEvent;
class QSvgRenderer;
class QWidget;
class QSkinWidgetResizeHandler;

// Where the title-bar buttons of a skinned window lie, in window coordinates.
struct SkinButtonAreas
{
    QRegion close;
    QRegion maximize;
    QRegion minimize;
};

// Button layout of a window W pixels wide: buttonSize is the largest normal-state button,
// topHeight the title bar's height and topRightWidth the right title corner's width.
// Only the low three bits of buttonSet count.
SkinButtonAreas skinButtonAreas(
    int buttonSet, int windowWidth, QSize buttonSize, int topHeight, int topRightWidth);

// "WxH" in a window's icon text asks for the title icon at that size; anything else gives
// an invalid size (the default 16 x 16 icon).
QSize iconSizeFromText(const QString &iconText);

// Clicks on the title-bar buttons only count inside this band of the window.
bool insideButtonBand(const QPoint &pos, int windowWidth, int topHeight, int closeHeight);

// Draws a frameless window from an SVG skin named by an INI file: frame pieces, title,
// icon and title-bar buttons, and shapes the window by the skin's transparency.
class QSkinObject : public QObject
{
    Q_OBJECT
public:
    QSkinObject(QWidget *window, int buttonSet);
    ~QSkinObject() override;

    // path is relative to the program's folder.
    void setSkinFile(const QString &path);
    QString skinFilePath() const { return skinFile; }

    QWidget *window() const { return skinWidget; }
    QRegion closeRegion() const { return closeArea; }
    QRegion minimizeRegion() const { return minimizeArea; }
    QRegion maximizeRegion() const { return maximizeArea; }
    double alphaValue() const { return alpha; }
    QColor backgroundColorValue() const { return backgroundColor; }
    QColor titleColorValue() const { return titleColor; }
    QFont titleFontValue() const { return titleFont; }
    // Size of a skin element's bounding box; empty when the skin lacks it.
    QSize elementSize(const QString &id) const;

    // Delivered by the resize handler, which sees the window's mouse buttons first.
    void mousePressEvent(QMouseEvent *event);
    void mouseReleaseEvent(QMouseEvent *event);

public slots:
    void updateStyle();
    void updateButtons();
    void startSkinning();
    void stopSkinning();
    void setAlphaValue(double a);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadSkinFile();
    void updateButtonAreas(int windowWidth);
    void updateHover(const QPoint &pos);
    void paintFrame(class QPainter &painter);
    void paintTitle(class QPainter &painter);
    void updateMask();
    void renderElement(class QPainter &painter, const QString &id, const QRectF &target);
    QString buttonElement(const QString &button, bool hover) const;
    QSize largestButtonSize() const;

    QPoint pressPos;
    QPixmap skinPixmap;
    QString skinFile;
    QFont titleFont;
    QColor titleColor;
    QColor backgroundColor;
    QRegion closeArea;
    QRegion maximizeArea;
    QRegion minimizeArea;
    QSkinWidgetResizeHandler *resizeHandler = nullptr;
    bool pressed = false;
    QWidget *skinWidget = nullptr;
    bool minimizeHover = false;
    bool maximizeHover = false;
    bool closeHover = false;
    double alpha = 1.0;
    QSvgRenderer *renderer = nullptr;
    int buttonSet = 0;

    QSize m_maskSize;
    Qt::WindowFlags m_originalFlags;
};
