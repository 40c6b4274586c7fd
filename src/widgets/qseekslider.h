#pragma once

#include <QLine>
#include <phonon/SeekSlider>

// Loop marks in pixels from the left edge, as they are drawn for one paint.
struct LoopMarks
{
    double markInX = 0.0;
    double markOutX = 0.0;
};

// A mark-out of 0.0 stands for the right end and a mark-in at the right end for the
// start, so that "no loop" can be told apart from a real range.
LoopMarks normaliseLoopMarks(LoopMarks marks, int width);
bool hasLoopRange(const LoopMarks &marks, int width);

// The two bars of a loop range in a slider of the given height: a thin one at the
// top reaching a little further out, and a thick one below it.
QLine loopUpperBar(const LoopMarks &marks, int height);
QLine loopLowerBar(const LoopMarks &marks, int height);

// The media seek slider with an A-B loop range painted over a gradient background.
// Marks arrive as fractions of the media length and are kept in pixels of the width
// at the time they were set.
class QSeekSlider : public Phonon::SeekSlider
{
    Q_OBJECT
public:
    explicit QSeekSlider(QWidget *parent = nullptr);
    ~QSeekSlider() override;

signals:
    void valueChanged(double value);
    void markInChanged(double markIn);
    void markOutChanged(double markOut);

public slots:
    void setValue(double value);
    void resetMark();
    void setMarkInFlag(double markIn);
    void setMarkOutFlag(double markOut);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_valueX = 0.0;
    double m_markInX = 0.0;
    double m_markOutX = 0.0;
    // Whether mark-out means "the right end", so that it keeps following the edge
    // when the slider is resized after it was painted once.
    bool m_markOutAtEnd = true;
};
