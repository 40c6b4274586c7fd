#pragma once

#include <QColor>
#include <QWidget>

// Sizes of the spinning busy indicator, in pixels, for a widget of the given size.
struct ProgressIndicatorGeometry
{
    int outerRadius = 0;
    int innerRadius = 0;
    int capsuleHeight = 0;
    int capsuleWidth = 0;
    int cornerRadius = 0;
};

ProgressIndicatorGeometry progressIndicatorGeometry(int width, int height);

// Twelve capsules in a circle with fading alpha, turning while animated.
class QProgressIndicator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int delay READ animationDelay WRITE setAnimationDelay)
    Q_PROPERTY(bool displayedWhenStopped READ isDisplayedWhenStopped WRITE setDisplayedWhenStopped)
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    explicit QProgressIndicator(QWidget *parent = nullptr);

    int animationDelay() const { return m_delay; }
    bool isAnimated() const;
    bool isDisplayedWhenStopped() const { return m_displayedWhenStopped; }
    const QColor &color() const { return m_color; }

    QSize sizeHint() const override;
    int heightForWidth(int width) const override;

public slots:
    void startAnimation();
    void stopAnimation();
    void setAnimationDelay(int delay);
    void setDisplayedWhenStopped(bool state);
    void setColor(const QColor &color);

protected:
    void timerEvent(QTimerEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_angle = 0;
    int m_timerId = -1;
    int m_delay = 60;
    bool m_displayedWhenStopped = false;
    QColor m_color = Qt::white;
};
