#include "takefigurespanel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int captionWidth = 84;
constexpr int headerHeight = 20;
constexpr int rowHeight = 19;
constexpr int margin = 3;
constexpr int textPixels = 11;
constexpr int barWidth = 4;
constexpr int barGap = 1;
constexpr int chartWidth = TakeFiguresPanel::kPasses * (barWidth + barGap);

const QColor background(24, 24, 24);
const QColor grid(60, 60, 60);
const QColor text(225, 225, 225);
const QColor dimText(140, 140, 140);
const QColor warning(255, 110, 90);
const QColor currentBar(90, 190, 230);
const QColor otherBar(110, 115, 125);

// Milliseconds as seconds with one decimal, "1.4 s".
QString seconds(qint64 ms)
{
    return TakeFiguresPanel::tr("%1 s").arg(double(ms) / 1000.0, 0, 'f', 1);
}

QString minutesAndSeconds(qint64 ms)
{
    const qint64 total = (ms + 500) / 1000;
    return QStringLiteral("%1:%2").arg(total / 60).arg(total % 60, 2, 10, QLatin1Char('0'));
}

bool troubled(const TakeFigures &f)
{
    return f.silent || f.clippedPercent > 1.0;
}

QString sentenceCaption(int sentence)
{
    switch (sentence) {
    case 1: return TakeFiguresPanel::tr("Retelling");
    case 2: return TakeFiguresPanel::tr("Consecutive");
    case 3: return TakeFiguresPanel::tr("Sight");
    case 4: return TakeFiguresPanel::tr("Retelling 2");
    default: return TakeFiguresPanel::tr("Simultaneous");
    }
}

} // namespace

// One figure: its heading and explanation, the number its chart draws (none when not
// measured) and the text of a cell.
struct TakeFiguresPanel::Column
{
    std::function<QString()> title;
    std::function<QString()> explanation;
    std::function<std::optional<double>(const TakeFigures &)> value;
    std::function<QString(const TakeFigures &)> text;
};

const std::array<TakeFiguresPanel::Column, 6> &TakeFiguresPanel::columns()
{
    using F = const TakeFigures &;
    const auto measured = [](qint64 ms) { return ms < 0 ? std::nullopt : std::optional<double>(double(ms)); };
    static const std::array<Column, 6> all { {
        { [] { return tr("Length"); }, [] { return tr("How long the take is."); },
            [](F f) { return std::optional<double>(double(f.durationMs)); },
            [](F f) { return minutesAndSeconds(f.durationMs); } },
        { [] { return tr("First word"); }, [] { return tr("Time from \"start\" to your first word."); },
            [measured](F f) { return measured(f.firstWordMs); },
            [](F f) { return f.firstWordMs < 0 ? QStringLiteral("–") : seconds(f.firstWordMs); } },
        { [] { return tr("Speaking"); }, [] { return tr("Share of the take in which you speak."); },
            [](F f) { return std::optional<double>(f.speakingPercent); },
            [](F f) { return tr("%1 %").arg(qRound(f.speakingPercent)); } },
        { [] { return tr("Pauses"); }, [] { return tr("Pauses of half a second or more."); },
            [](F f) { return std::optional<double>(f.pauseCount); },
            [](F f) { return QString::number(f.pauseCount); } },
        { [] { return tr("Longest"); }, [] { return tr("The longest of those pauses."); },
            [](F f) { return std::optional<double>(double(f.longestPauseMs)); },
            [](F f) { return f.pauseCount == 0 ? QStringLiteral("–") : seconds(f.longestPauseMs); } },
        { [] { return tr("Ear-voice"); },
            [] { return tr("Ear-voice span in simultaneous interpreting: how far behind the "
                           "model you speak, median / 90th percentile."); },
            [measured](F f) { return measured(f.evsMedianMs); },
            [](F f) {
                return f.evsMedianMs < 0 ? QStringLiteral("–")
                                         : tr("%1 / %2 s").arg(double(f.evsMedianMs) / 1000.0, 0, 'f', 1)
                                               .arg(double(f.evsP90Ms) / 1000.0, 0, 'f', 1);
            } },
    } };
    return all;
}

TakeFiguresPanel::TakeFiguresPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("takeFigures"));
    setAccessibleName(tr("Figures of your takes"));
    QFont small = font();
    small.setPixelSize(textPixels);
    setFont(small);
    setFixedHeight(sizeHint().height());
}

QSize TakeFiguresPanel::sizeHint() const
{
    return { 640, 2 * margin + headerHeight + kSentences * rowHeight };
}

void TakeFiguresPanel::showPass(const QString &trainDir, int pass)
{
    m_trainDir = trainDir;
    m_pass = pass;
    refresh();
}

void TakeFiguresPanel::refresh()
{
    TakeLog log(m_trainDir);
    log.load();
    for (int pass = 1; pass <= kPasses; ++pass) {
        for (int sentence = 1; sentence <= kSentences; ++sentence)
            m_figures[size_t(pass - 1)][size_t(sentence - 1)] = log.figures(pass, sentence);
    }
    update();
}

std::optional<TakeFigures> TakeFiguresPanel::figures(int pass, int sentence) const
{
    if (pass < 1 || pass > kPasses || sentence < 1 || sentence > kSentences)
        return std::nullopt;
    return m_figures[size_t(pass - 1)][size_t(sentence - 1)];
}

// Row 0 is the header, rows 1 to 5 the sentences; column -1 the captions.
QRect TakeFiguresPanel::cellRect(int row, int column) const
{
    const int columnWidth = (width() - 2 * margin - captionWidth) / int(columns().size());
    const int x = column < 0 ? margin : margin + captionWidth + column * columnWidth;
    const int y = row == 0 ? margin : margin + headerHeight + (row - 1) * rowHeight;
    return { x, y, column < 0 ? captionWidth : columnWidth, row == 0 ? headerHeight : rowHeight };
}

void TakeFiguresPanel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), background);
    painter.setPen(text);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(cellRect(0, -1).adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, tr("Pass %1").arg(m_pass));
    for (size_t c = 0; c < columns().size(); ++c)
        painter.drawText(cellRect(0, int(c)).adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         painter.fontMetrics().elidedText(columns()[c].title(), Qt::ElideRight, cellRect(0, int(c)).width() - 4));
    painter.setFont(font());
    for (int sentence = 1; sentence <= kSentences; ++sentence) {
        painter.setPen(grid);
        painter.drawLine(cellRect(sentence, -1).topLeft(), QPoint(width() - margin, cellRect(sentence, -1).top()));
        painter.setPen(text);
        painter.drawText(cellRect(sentence, -1).adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, sentenceCaption(sentence));
        for (size_t c = 0; c < columns().size(); ++c)
            paintCell(painter, cellRect(sentence, int(c)), sentence, columns()[c]);
    }
}

// The pass's value as text, and at the right the figure over passes 1 to 5 as bars scaled
// to the largest of them, the shown pass in colour.
void TakeFiguresPanel::paintCell(QPainter &painter, const QRect &cell, int sentence, const Column &column) const
{
    const std::optional<TakeFigures> shown = figures(m_pass, sentence);
    const bool first = &column == &columns().front();
    painter.setPen(!shown ? dimText : first && troubled(*shown) ? warning : text);
    const QRect textArea = cell.adjusted(2, 0, -chartWidth - 4, 0);
    painter.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft,
                     shown ? (first && troubled(*shown) ? QStringLiteral("! ") : QString()) + column.text(*shown)
                           : QStringLiteral("–"));
    std::array<std::optional<double>, kPasses> values;
    double largest = 0;
    for (int pass = 1; pass <= kPasses; ++pass) {
        const std::optional<TakeFigures> f = figures(pass, sentence);
        values[size_t(pass - 1)] = f ? column.value(*f) : std::nullopt;
        largest = std::max(largest, values[size_t(pass - 1)].value_or(0.0));
    }
    if (std::none_of(values.begin(), values.end(), [](const auto &v) { return v.has_value(); }))
        return;
    const int chartLeft = cell.right() - chartWidth - 2;
    const int baseline = cell.bottom() - 3;
    const int tallest = cell.height() - 7;
    for (int pass = 1; pass <= kPasses; ++pass) {
        const std::optional<double> value = values[size_t(pass - 1)];
        const int x = chartLeft + (pass - 1) * (barWidth + barGap);
        const QColor colour = pass == m_pass ? currentBar : otherBar;
        if (!value) {
            painter.fillRect(QRect(x, baseline, barWidth, 1), grid);
            continue;
        }
        const int barHeight = largest > 0 ? std::max(1, int(std::lround(*value / largest * tallest))) : 1;
        painter.fillRect(QRect(x, baseline - barHeight + 1, barWidth, barHeight), colour);
    }
}

bool TakeFiguresPanel::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = cellToolTip(help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
}

// A heading explains its figure; a sentence's cell lists the figure pass by pass.
QString TakeFiguresPanel::cellToolTip(const QPoint &position) const
{
    for (int row = 0; row <= kSentences; ++row) {
        for (size_t c = 0; c < columns().size(); ++c) {
            if (!cellRect(row, int(c)).contains(position))
                continue;
            const Column &column = columns()[c];
            if (row == 0)
                return column.explanation();
            QStringList lines { column.title() };
            for (int pass = 1; pass <= kPasses; ++pass) {
                const std::optional<TakeFigures> f = figures(pass, row);
                lines << tr("Pass %1: %2").arg(pass).arg(f ? column.text(*f) : QStringLiteral("–"));
            }
            return lines.join(QLatin1Char('\n'));
        }
    }
    return {};
}
