#pragma once

#include "peaks.h"
#include "segmentation.h"

#include <QPixmap>
#include <QWidget>

// Where a mark dropped at `ms` belongs: on the nearest pause when one lies within reachMs,
// a little inside it (so the loop cuts in silence, not on a word's edge); elsewhere unmoved.
qint64 snapToPause(qint64 ms, const std::vector<audio::Segment> &pauses, qint64 reachMs = 300);

// The material's waveform seen whole, with the played position, the A-B range and its marks,
// and below it the waveform of a take, placed at the model time the take began. A click
// seeks; the marks can be dragged and snap to the nearest pause (Shift: exactly where
// dropped). Times are milliseconds of the material.
class WaveformView : public QWidget
{
    Q_OBJECT

public:
    explicit WaveformView(QWidget *parent = nullptr);

    // The time axis: the material's length as the player knows it, before its peaks are read.
    void setDuration(qint64 ms);
    // The model as far as it is read (madeFraction < 1 while reading), and its pauses.
    void setModel(const audio::PeakPyramid &peaks, double madeFraction);
    void setPauses(std::vector<audio::Segment> pauses);
    void setTake(const audio::PeakPyramid &peaks, qint64 offsetMs, const QString &label);
    void clearTake();
    void setPosition(qint64 ms);
    void setMarks(qint64 markIn, qint64 markOut);

    int xAt(qint64 ms) const;
    qint64 timeAt(int x) const;

signals:
    void seekRequested(qint64 ms);
    void markInDragged(qint64 ms);
    void markOutDragged(qint64 ms);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Drag { None, MarkIn, MarkOut };

    qint64 axisMs() const;
    QRect modelLane() const;
    QRect takeLane() const;
    // The waveforms change only with new peaks or a new size: drawn once into a pixmap.
    void drawWaves();
    void drawLane(QPainter &painter, const audio::PeakPyramid &peaks, const QRect &lane,
        qint64 offsetMs, const QColor &colour) const;
    qint64 dropTime(const QMouseEvent *event) const;

    audio::PeakPyramid m_model;
    audio::PeakPyramid m_take;
    bool m_hasTake = false;
    qint64 m_takeOffsetMs = 0;
    QString m_takeLabel;
    double m_madeFraction = 1.0;
    std::vector<audio::Segment> m_pauses;
    qint64 m_durationMs = 0;
    qint64 m_positionMs = 0;
    qint64 m_markIn = 0;
    qint64 m_markOut = 0;
    Drag m_drag = Drag::None;
    qint64 m_dragMs = 0;
    QPixmap m_waves;
    bool m_wavesValid = false;
};
