// Draws every embedded picture of the trainer (button strips, bar background, player
// panel icons, window and application icons) so that the whole set can be restyled in
// one place and regenerated. Each picture is checked against its required size and band
// layout after it is written; any mismatch makes the program exit with status 1.
//
// Usage: zorva_drawartwork <resources folder> [--sheet <contact sheet png>]

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>
#include <QXmlStreamReader>
#include <QtMath>

#include <cmath>
#include <functional>
#include <vector>

namespace {

// One visual language: a dark glass bar, one blue accent (the panel's gradient ends in
// #137eb6), red only for recording, white text.
namespace colour {
const QColor accent(0x2e, 0xaa, 0xe6);
const QColor accentLight(0x8f, 0xd8, 0xff);
const QColor accentDeep(0x13, 0x7e, 0xb6);
const QColor record(0xef, 0x4b, 0x4b);
const QColor recordDeep(0xb8, 0x2a, 0x2e);
const QColor glassTop(0x36, 0x3f, 0x4c);
const QColor glassBottom(0x1c, 0x22, 0x2b);
const QColor barTop(0x2b, 0x32, 0x3d);
const QColor barBottom(0x12, 0x16, 0x1c);
const QColor glyph(0xee, 0xf6, 0xfb);
const QColor hint(0xa9, 0xb4, 0xc0);
} // namespace colour

const QString kFontFamily = QStringLiteral("Noto Sans CJK SC");

using Painter = std::function<void(QPainter &, const QRectF &)>;

enum class Layout { Single, Strip, Toggle };

struct Picture
{
    QString name; // relative to the resources folder, e.g. "Control/start.png"
    QSize size;
    Layout layout;
    std::function<QImage(QSize)> draw;
};

QFont font(int pixelSize, QFont::Weight weight = QFont::Normal)
{
    QFont f(kFontFamily);
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage drawn(QSize size, const Painter &paint)
{
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                     | QPainter::SmoothPixmapTransform);
    paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

int blend(int from, int to, double amount)
{
    return qBound(0, qRound(from + (to - from) * amount), 255);
}

// The hover, pressed and disabled bands are derived from the normal band, so every
// button reacts the same way: lighter under the mouse, darker and 1 px lower when
// pressed, grey at 40 % opacity when disabled.
enum class State { Normal, Hover, Pressed, Disabled };

QImage restyled(const QImage &normal, State state)
{
    if (state == State::Normal)
        return normal;
    QImage image = normal.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            int r = qRed(c), g = qGreen(c), b = qBlue(c), a = qAlpha(c);
            switch (state) {
            case State::Hover:
                r = blend(r, 255, 0.30);
                g = blend(g, 255, 0.30);
                b = blend(b, 255, 0.30);
                break;
            case State::Pressed:
                r = blend(r, 0, 0.25);
                g = blend(g, 0, 0.25);
                b = blend(b, 0, 0.25);
                break;
            case State::Disabled: {
                const int grey = 96 + qGray(c) * 2 / 5;
                r = g = b = grey;
                a = qRound(a * 0.4);
                break;
            }
            case State::Normal:
                break;
            }
            line[x] = qRgba(r, g, b, a);
        }
    }
    if (state != State::Pressed)
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage shifted = blank(image.size());
    QPainter p(&shifted);
    p.drawImage(0, 1, image);
    return shifted;
}

QImage bands(QSize total, const QImage &normal)
{
    const int bandHeight = total.height() / 4;
    QImage image = blank(total);
    QPainter p(&image);
    const State states[] = {State::Normal, State::Hover, State::Pressed, State::Disabled};
    for (int k = 0; k < 4; ++k)
        p.drawImage(0, k * bandHeight, restyled(normal, states[k]));
    return image;
}

QImage strip(QSize total, const Painter &paint)
{
    return bands(total, drawn(QSize(total.width(), total.height() / 4), paint));
}

QImage toggle(QSize total, const Painter &unchecked, const Painter &checked)
{
    const QSize column(total.width() / 2, total.height());
    QImage image = blank(total);
    QPainter p(&image);
    p.drawImage(0, 0, strip(column, unchecked));
    p.drawImage(column.width(), 0, strip(column, checked));
    return image;
}

// ---- shared shapes ----------------------------------------------------------------

QLinearGradient vertical(const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// A rounded glass surface: dark gradient, a faint rim and a highlight along the top.
void glass(QPainter &p, const QRectF &r, qreal radius, const QColor &rim)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(r, colour::glassTop, colour::glassBottom));
    p.drawRoundedRect(r, radius, radius);
    p.setPen(QPen(rim, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    QLinearGradient shine(r.topLeft(), QPointF(r.left(), r.top() + r.height() / 2));
    shine.setColorAt(0, QColor(255, 255, 255, 40));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -r.height() / 2), radius - 1, radius - 1);
    p.restore();
}

void filled(QPainter &p, const QRectF &r, qreal radius, const QColor &light, const QColor &deep)
{
    p.save();
    p.setPen(QPen(withAlpha(light.lighter(130), 200), 1.0));
    p.setBrush(vertical(r, light, deep));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QLinearGradient shine(r.topLeft(), QPointF(r.left(), r.center().y()));
    shine.setColorAt(0, QColor(255, 255, 255, 70));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -r.height() / 2), radius - 1, radius - 1);
    p.restore();
}

QPainterPath triangle(const QRectF &box, bool pointsRight)
{
    QPainterPath path;
    if (pointsRight) {
        path.moveTo(box.topLeft());
        path.lineTo(box.right(), box.center().y());
        path.lineTo(box.bottomLeft());
    } else {
        path.moveTo(box.topRight());
        path.lineTo(box.left(), box.center().y());
        path.lineTo(box.bottomRight());
    }
    path.closeSubpath();
    return path;
}

void chevron(QPainter &p, const QPointF &centre, qreal halfWidth, qreal halfHeight,
             bool pointsRight, const QColor &c, qreal width)
{
    const qreal dir = pointsRight ? 1.0 : -1.0;
    QPainterPath path;
    path.moveTo(centre.x() - dir * halfWidth, centre.y() - halfHeight);
    path.lineTo(centre.x() + dir * halfWidth, centre.y());
    path.lineTo(centre.x() - dir * halfWidth, centre.y() + halfHeight);
    p.save();
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void fillPath(QPainter &p, const QPainterPath &path, const QColor &c)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
    p.restore();
}

void pauseBars(QPainter &p, const QRectF &box, const QColor &c)
{
    const qreal bar = box.width() * 0.34;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const qreal radius = bar * 0.25;
    p.drawRoundedRect(QRectF(box.left(), box.top(), bar, box.height()), radius, radius);
    p.drawRoundedRect(QRectF(box.right() - bar, box.top(), bar, box.height()), radius, radius);
    p.restore();
}

// Two arrows chasing each other round a circle: "again" / "loop".
void loopArrows(QPainter &p, const QPointF &centre, qreal radius, const QColor &c, qreal width)
{
    p.save();
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    for (int half = 0; half < 2; ++half) {
        const qreal start = 200 + half * 180;
        QPainterPath arc;
        arc.arcMoveTo(circle, start);
        arc.arcTo(circle, start, 120);
        p.drawPath(arc);
        const qreal end = qDegreesToRadians(start + 120);
        const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
        // The tangent of a counter-clockwise arc points along (-sin, -cos) in screen space.
        const QPointF along(-std::sin(end), -std::cos(end));
        const QPointF across(along.y(), -along.x());
        const qreal head = width * 1.9;
        QPainterPath arrow;
        arrow.moveTo(tip + along * head);
        arrow.lineTo(tip - along * head * 0.3 + across * head);
        arrow.lineTo(tip - along * head * 0.3 - across * head);
        arrow.closeSubpath();
        fillPath(p, arrow, c);
    }
    p.restore();
}

void centredText(QPainter &p, const QRectF &r, const QString &text, const QFont &f,
                 const QColor &c)
{
    p.save();
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

// ---- training bar -------------------------------------------------------------------

// The bar is drawn as one rounded glass slab three pieces wide and cut into its left
// edge, a middle column that tiles seamlessly and its right edge.
QImage barSlab()
{
    return drawn(QSize(51, 85), [](QPainter &p, const QRectF &r) {
        const QRectF slab = r.adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = 12;
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(slab, withAlpha(colour::barTop, 242),
                            withAlpha(colour::barBottom, 246)));
        p.drawRoundedRect(slab, radius, radius);
        p.setPen(QPen(QColor(255, 255, 255, 34), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(slab, radius, radius);
        // Top highlight and a thin accent line along the bottom edge.
        p.setPen(QPen(QColor(255, 255, 255, 46), 1.0));
        p.drawLine(QPointF(radius, 1.5), QPointF(r.width() - radius, 1.5));
        p.setPen(QPen(withAlpha(colour::accent, 110), 1.0));
        p.drawLine(QPointF(radius, r.height() - 2.5), QPointF(r.width() - radius, r.height() - 2.5));
    });
}

QImage barPiece(int index)
{
    return barSlab().copy(index * 17, 0, 17, 85);
}

void roundControl(QPainter &p, const QRectF &band)
{
    glass(p, QRectF(band.left() + 2, band.top() + 1, band.width() - 4, band.height() - 4),
          (band.width() - 4) / 2, QColor(255, 255, 255, 70));
}

void roundFilled(QPainter &p, const QRectF &band, const QColor &light, const QColor &deep)
{
    filled(p, QRectF(band.left() + 2, band.top() + 1, band.width() - 4, band.height() - 4),
           (band.width() - 4) / 2, light, deep);
}

QPointF controlCentre(const QRectF &band)
{
    return QPointF(band.center().x(), band.top() + 1 + (band.height() - 4) / 2);
}

QImage recordButton(QSize size)
{
    return toggle(
        size,
        [](QPainter &p, const QRectF &r) {
            roundControl(p, r);
            const QPointF c = controlCentre(r);
            QRadialGradient dot(c - QPointF(1.5, 1.5), 7);
            dot.setColorAt(0, colour::record.lighter(125));
            dot.setColorAt(1, colour::record);
            p.setPen(Qt::NoPen);
            p.setBrush(dot);
            p.drawEllipse(c, 6.0, 6.0);
        },
        [](QPainter &p, const QRectF &r) {
            roundFilled(p, r, colour::record, colour::recordDeep);
            const QPointF c = controlCentre(r);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(c.x() - 5, c.y() - 5, 10, 10), 2, 2);
        });
}

QImage playPauseButton(QSize size)
{
    return toggle(
        size,
        [](QPainter &p, const QRectF &r) {
            roundControl(p, r);
            const QPointF c = controlCentre(r);
            fillPath(p, triangle(QRectF(c.x() - 3.5, c.y() - 6, 10, 12), true), colour::glyph);
        },
        [](QPainter &p, const QRectF &r) {
            roundFilled(p, r, colour::accent, colour::accentDeep);
            const QPointF c = controlCentre(r);
            pauseBars(p, QRectF(c.x() - 5, c.y() - 6, 10, 12), Qt::white);
        });
}

QImage stepButton(QSize size, bool forward)
{
    return strip(size, [forward](QPainter &p, const QRectF &r) {
        roundControl(p, r);
        const QPointF c = controlCentre(r) + QPointF(forward ? 1 : -1, 0);
        chevron(p, c, 3.5, 6.5, forward, colour::glyph, 2.4);
    });
}

void headphoneIcon(QPainter &p, const QRectF &box, const QColor &c);

// Steps 1 and 2 begin with listening: headphones start the model from the step itself.
QImage listenButton(QSize size)
{
    return strip(size, [](QPainter &p, const QRectF &r) {
        roundControl(p, r);
        const QPointF c = controlCentre(r);
        headphoneIcon(p, QRectF(c.x() - 6.5, c.y() - 6, 13, 12), colour::glyph);
    });
}

QImage expandButton(QSize size)
{
    return strip(size, [](QPainter &p, const QRectF &r) {
        // Hangs from the bar's top edge, so only its lower corners are rounded.
        const QRectF tab(r.left() + 1, r.top() - 6, r.width() - 2, r.height() + 3);
        glass(p, tab, 5, QColor(255, 255, 255, 60));
        const qreal y = r.top() + (r.height() - 2) / 2.0;
        chevron(p, QPointF(tab.center().x() - 2.2, y), 2.0, 4.0, true, colour::accentLight, 1.7);
        chevron(p, QPointF(tab.center().x() + 2.2, y), 2.0, 4.0, true, colour::glyph, 1.7);
    });
}

QImage backButton(QSize size)
{
    return strip(size, [](QPainter &p, const QRectF &r) {
        const QRectF tab(r.left() + 1, r.top() - 6, r.width() - 2, r.height() + 3);
        glass(p, tab, 5, QColor(255, 255, 255, 60));
        // A hooked arrow: back to the list of repeats.
        const QPointF c(tab.center().x(), r.top() + (r.height() - 2) / 2.0);
        QPainterPath hook;
        hook.moveTo(c.x() + 4, c.y() + 6);
        hook.lineTo(c.x() + 4, c.y() - 0.5);
        hook.quadTo(c.x() + 4, c.y() - 3.5, c.x() + 1, c.y() - 3.5);
        hook.lineTo(c.x() - 3, c.y() - 3.5);
        p.save();
        p.setPen(QPen(colour::glyph, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(hook);
        p.restore();
        chevron(p, QPointF(c.x() - 3.5, c.y() - 3.5), 2.0, 3.2, false, colour::glyph, 1.8);
    });
}

// Sentence recordings of a repeat: a round tile with the sentence number.
QImage practiceTile(QSize size, int number)
{
    return strip(size, [number](QPainter &p, const QRectF &r) {
        const QRectF disc(r.left() + 2, r.top() + 1, 28, 28);
        glass(p, disc, 14, withAlpha(colour::accent, 230));
        p.setPen(QPen(withAlpha(colour::accent, 120), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(disc.adjusted(2.5, 2.5, -2.5, -2.5));
        centredText(p, disc.adjusted(0, -1, 0, -1), QString::number(number),
                    font(15, QFont::Bold), Qt::white);
    });
}

// Repeats (passes through the six steps): a filled tile with the pass number. Words belong
// to the learner's language, so the pictures carry none; the bar names each pass.
QImage repeatTile(QSize size, int number)
{
    return strip(size, [number](QPainter &p, const QRectF &r) {
        const QRectF tile(r.left() + 2, r.top() + 1, 28, 28);
        filled(p, tile, 7, colour::accent, colour::accentDeep);
        centredText(p, tile.adjusted(0, -1, 0, -1), QString::number(number),
                    font(17, QFont::Bold), Qt::white);
    });
}

// ---- word buttons ---------------------------------------------------------------

enum class Tone { Primary, Glass, Outline };

using Icon = std::function<void(QPainter &, const QRectF &, const QColor &)>;

void pill(QPainter &p, const QRectF &r, Tone tone)
{
    const QRectF body = r.adjusted(1, 1, -1, -2);
    const qreal radius = std::min(body.height() / 2, 13.0);
    switch (tone) {
    case Tone::Primary:
        filled(p, body, radius, colour::accent, colour::accentDeep);
        break;
    case Tone::Glass:
        glass(p, body, radius, QColor(255, 255, 255, 78));
        break;
    case Tone::Outline:
        glass(p, body, radius, withAlpha(colour::accent, 235));
        break;
    }
}

// The icon sits at the left; the bar draws the caption, in the learner's language, in the
// space right of it (x from wordCaptionLeft(height) to the right edge less 6).
void wordButton(QPainter &p, const QRectF &r, Tone tone, const Icon &icon)
{
    pill(p, r, tone);
    const qreal iconSize = std::round(r.height() * 0.36);
    const qreal left = r.left() + 10;
    const qreal middle = r.top() + 1 + (r.height() - 3) / 2;
    const QColor iconColour = tone == Tone::Primary ? Qt::white : colour::accentLight;
    icon(p, QRectF(left, middle - iconSize / 2, iconSize, iconSize), iconColour);
}

void playIcon(QPainter &p, const QRectF &box, const QColor &c)
{
    fillPath(p, triangle(box.adjusted(box.width() * 0.15, 0, 0, 0), true), c);
}

void pageIcon(QPainter &p, const QRectF &box, const QColor &c, bool translated)
{
    p.save();
    const QRectF page = box.adjusted(box.width() * 0.12, 0, -box.width() * 0.12, 0);
    p.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(page, 1.5, 1.5);
    const qreal step = page.height() / 4;
    for (int i = 1; i <= 3; ++i) {
        const qreal y = page.top() + i * step;
        const qreal end = (i == 3 || (translated && i == 2)) ? page.center().x() : page.right() - 2.5;
        p.drawLine(QPointF(page.left() + 2.5, y), QPointF(end, y));
    }
    if (translated) {
        const QPointF c0(page.right() - 1, page.bottom() - 1);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(c0, 3.2, 3.2);
        p.setPen(QPen(colour::glassBottom, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c0 + QPointF(-1.5, 0), c0 + QPointF(1.5, 0));
    }
    p.restore();
}

void headphoneIcon(QPainter &p, const QRectF &box, const QColor &c)
{
    p.save();
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(box.left() + 1, box.top(), box.width() - 2, box.height() * 1.2);
    p.drawArc(arc, 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const qreal w = box.width() * 0.26;
    const qreal h = box.height() * 0.45;
    p.drawRoundedRect(QRectF(box.left(), box.bottom() - h, w, h), 1.5, 1.5);
    p.drawRoundedRect(QRectF(box.right() - w, box.bottom() - h, w, h), 1.5, 1.5);
    p.restore();
}

void againIcon(QPainter &p, const QRectF &box, const QColor &c)
{
    loopArrows(p, box.center(), box.width() * 0.40, c, 1.6);
}

void videoIcon(QPainter &p, const QRectF &box, const QColor &)
{
    filled(p, box, box.width() / 2, colour::accent, colour::accentDeep);
    const QPointF c = box.center();
    const qreal s = box.width() * 0.34;
    fillPath(p, triangle(QRectF(c.x() - s * 0.4, c.y() - s * 0.6, s, s * 1.2), true), Qt::white);
}

QImage singleWord(QSize size, Tone tone, const Icon &icon)
{
    return drawn(size, [&](QPainter &p, const QRectF &r) { wordButton(p, r, tone, icon); });
}

// The two help-video buttons shown on the empty bar: a video mark at the left; the bar
// draws the caption and a quieter second line right of it (x from 46 on).
QImage videoButton(QSize size)
{
    return drawn(size, [&](QPainter &p, const QRectF &r) {
        const QRectF card = r.adjusted(1, 1, -1, -2);
        glass(p, card, 12, QColor(255, 255, 255, 70));
        const qreal iconSize = 26;
        videoIcon(p, QRectF(card.left() + 9, card.center().y() - iconSize / 2, iconSize, iconSize), {});
    });
}

// ---- player panel ------------------------------------------------------------------

// The panel's buttons are border images scaled into what their margins leave of a
// 24 x 24 button, so each is drawn at exactly the size it is shown at.
// The small transport glyphs sit on the blue end of the panel: a slightly dimmed white
// normally, full white with a dark outline under the mouse so they stand out.
// The small transport glyphs sit on the blue end of the panel: a dimmed, cool white
// normally and full white under the mouse.
QImage panelSmall(QSize size, bool hover, const std::function<void(QPainter &, const QRectF &, const QColor &)> &glyph)
{
    return drawn(size, [&](QPainter &p, const QRectF &r) {
        glyph(p, r, hover ? QColor(Qt::white) : QColor(0xbf, 0xd6, 0xe6, 195));
    });
}

void panelFace(QPainter &p, const QRectF &r, bool hover)
{
    const QRectF face = r.adjusted(1, 1, -1, -1);
    if (hover) {
        filled(p, face, 5, colour::accent, colour::accentDeep);
        return;
    }
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, 80), 1.0));
    p.setBrush(vertical(face, QColor(0x1e, 0x2a, 0x36, 215), QColor(0x0b, 0x12, 0x1a, 215)));
    p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.restore();
}

QImage panelButton(QSize size, bool hover, const std::function<void(QPainter &, const QRectF &, const QColor &)> &glyph)
{
    return drawn(size, [&](QPainter &p, const QRectF &r) {
        panelFace(p, r, hover);
        glyph(p, r, hover ? Qt::white : colour::glyph);
    });
}

void markBracket(QPainter &p, const QRectF &r, const QColor &c, bool markIn)
{
    // "[A" sets the loop start, "B]" its end.
    const qreal x = markIn ? r.left() + 6.5 : r.right() - 6.5;
    const qreal foot = markIn ? 3.5 : -3.5;
    QPainterPath bracket;
    bracket.moveTo(x + foot, r.top() + 6);
    bracket.lineTo(x, r.top() + 6);
    bracket.lineTo(x, r.bottom() - 6);
    bracket.lineTo(x + foot, r.bottom() - 6);
    p.save();
    p.setPen(QPen(c, 1.8, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(bracket);
    p.restore();
    const QRectF letter = markIn ? QRectF(x + 2, r.top(), r.right() - x - 4, r.height())
                                 : QRectF(r.left() + 3, r.top(), x - r.left() - 5, r.height());
    centredText(p, letter, markIn ? QStringLiteral("A") : QStringLiteral("B"),
                font(10, QFont::Bold), c);
}

void markToWall(QPainter &p, const QRectF &r, const QColor &c, bool toStart)
{
    // An arrow running into the start (or end) wall: the mark goes back to the edge.
    const qreal wall = toStart ? r.left() + 6.5 : r.right() - 6.5;
    const qreal dir = toStart ? -1 : 1;
    const qreal y = r.center().y();
    p.save();
    p.setPen(QPen(c, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(wall, r.top() + 6), QPointF(wall, r.bottom() - 6));
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(wall - dir * 12, y), QPointF(wall - dir * 4, y));
    p.restore();
    QPainterPath head;
    head.moveTo(wall - dir * 2.2, y);
    head.lineTo(wall - dir * 6.5, y - 3.6);
    head.lineTo(wall - dir * 6.5, y + 3.6);
    head.closeSubpath();
    fillPath(p, head, c);
}

void speaker(QPainter &p, const QRectF &r, const QColor &c)
{
    const qreal cy = r.center().y();
    QPainterPath body;
    body.moveTo(r.left() + 4, cy - 3);
    body.lineTo(r.left() + 7.5, cy - 3);
    body.lineTo(r.left() + 12, cy - 7);
    body.lineTo(r.left() + 12, cy + 7);
    body.lineTo(r.left() + 7.5, cy + 3);
    body.lineTo(r.left() + 4, cy + 3);
    body.closeSubpath();
    fillPath(p, body, c);
    p.save();
    p.setPen(QPen(c, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.left() + 9, cy - 4, 8, 8), -55 * 16, 110 * 16);
    p.drawArc(QRectF(r.left() + 8, cy - 7.5, 13, 15), -55 * 16, 110 * 16);
    p.restore();
}

void doubleTriangle(QPainter &p, const QRectF &r, const QColor &c, bool forward)
{
    const qreal half = r.width() / 2;
    const QRectF first(r.left() + 0.5, r.top() + 2, half, r.height() - 4);
    const QRectF second(r.left() + half - 0.5, r.top() + 2, half, r.height() - 4);
    fillPath(p, triangle(first, forward), c);
    fillPath(p, triangle(second, forward), c);
}

QImage fineStep(QSize size, bool hover, bool forward)
{
    return drawn(size, [&](QPainter &p, const QRectF &r) {
        if (hover)
            filled(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 4, colour::accent, colour::accentDeep);
        const QColor c = hover ? Qt::white : colour::glyph;
        const qreal h = std::min(r.height() * 0.72, 9.0);
        const qreal w = h * 0.8;
        const QRectF box(r.center().x() - w / 2, r.center().y() - h / 2, w, h);
        fillPath(p, triangle(box, forward), c);
    });
}

// The importer's push buttons: light faces that keep the dialog's dark caption text
// readable. Two columns (the buttons are check boxes underneath), alike, since a click
// should not leave a button looking latched.
QImage dialogButtons(QSize size)
{
    const QSize cell(size.width() / 2, size.height() / 4);
    struct Face
    {
        QColor top, bottom, rim;
        int dy;
    };
    const Face faces[] = {
        {QColor(0xfb, 0xfc, 0xfd), QColor(0xe1, 0xe7, 0xee), QColor(0x98, 0xa6, 0xb5), 0},
        {QColor(0xf3, 0xfa, 0xff), QColor(0xd3, 0xec, 0xfa), colour::accent, 0},
        {QColor(0xc9, 0xd6, 0xe2), QColor(0xe2, 0xe9, 0xf0), colour::accentDeep, 1},
        {QColor(0xd8, 0xdc, 0xe0, 102), QColor(0xc8, 0xcc, 0xd1, 102), QColor(0x9a, 0xa0, 0xa8, 102), 0},
    };
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 4; ++row) {
            const Face &f = faces[row];
            const QRectF r(column * cell.width() + 1.5, row * cell.height() + 0.5 + f.dy,
                           cell.width() - 3, cell.height() - 2);
            p.setPen(QPen(f.rim, 1.0));
            p.setBrush(vertical(r, f.top, f.bottom));
            p.drawRoundedRect(r, 5, 5);
        }
    }
    return image;
}

// ---- icons ----------------------------------------------------------------------------

QByteArray iconSvg()
{
    static const char svg[] = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="slab" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#36404d"/>
      <stop offset="1" stop-color="#11151b"/>
    </linearGradient>
    <linearGradient id="ring" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#8fd8ff"/>
      <stop offset="0.5" stop-color="#2eaae6"/>
      <stop offset="1" stop-color="#137eb6"/>
    </linearGradient>
  </defs>
  <rect x="8" y="8" width="240" height="240" rx="56" ry="56" fill="url(#slab)"/>
  <rect x="10" y="10" width="236" height="236" rx="54" ry="54" fill="none" stroke="#ffffff" stroke-opacity="0.16" stroke-width="3"/>
  <circle cx="128" cy="132" r="78" fill="none" stroke="url(#ring)" stroke-width="16"/>
  <rect x="78" y="112" width="16" height="40" rx="8" ry="8" fill="#eef6fb"/>
  <rect x="103" y="88" width="16" height="88" rx="8" ry="8" fill="#eef6fb"/>
  <rect x="128" y="70" width="16" height="124" rx="8" ry="8" fill="#ffffff"/>
  <rect x="153" y="96" width="16" height="72" rx="8" ry="8" fill="#eef6fb"/>
  <rect x="178" y="116" width="16" height="32" rx="8" ry="8" fill="#eef6fb"/>
  <circle cx="198" cy="58" r="20" fill="#ef4b4b" stroke="#11151b" stroke-width="6"/>
</svg>
)svg";
    return QByteArray(svg);
}

// At 16 and 24 pixels the full mark turns to mush: the small sizes keep the slab, a
// thicker ring and three bars.
QByteArray smallIconSvg()
{
    static const char svg[] = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="slab" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#36404d"/>
      <stop offset="1" stop-color="#11151b"/>
    </linearGradient>
  </defs>
  <rect x="0" y="0" width="256" height="256" rx="48" ry="48" fill="url(#slab)"/>
  <circle cx="128" cy="128" r="92" fill="none" stroke="#2eaae6" stroke-width="28"/>
  <rect x="72" y="100" width="26" height="56" rx="13" ry="13" fill="#eef6fb"/>
  <rect x="115" y="66" width="26" height="124" rx="13" ry="13" fill="#ffffff"/>
  <rect x="158" y="92" width="26" height="72" rx="13" ry="13" fill="#eef6fb"/>
</svg>
)svg";
    return QByteArray(svg);
}

QImage renderSvg(const QByteArray &svg, int edge)
{
    QSvgRenderer renderer(svg);
    QImage image = blank(QSize(edge, edge));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p);
    return image;
}

// An ICO container: small sizes as 32-bit DIBs (read by every loader), 256 as PNG.
QByteArray icoFile(const QVector<int> &edges)
{
    QVector<QByteArray> entries;
    for (int edge : edges) {
        const QByteArray svg = edge <= 24 ? smallIconSvg() : iconSvg();
        const QImage image = renderSvg(svg, edge).convertToFormat(QImage::Format_ARGB32);
        QByteArray data;
        if (edge >= 256) {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        } else {
            QDataStream out(&data, QIODevice::WriteOnly);
            out.setByteOrder(QDataStream::LittleEndian);
            const int maskStride = ((edge + 31) / 32) * 4;
            out << quint32(40) << qint32(edge) << qint32(2 * edge) << quint16(1) << quint16(32)
                << quint32(0) << quint32(edge * edge * 4 + maskStride * edge) << qint32(0)
                << qint32(0) << quint32(0) << quint32(0);
            for (int y = edge - 1; y >= 0; --y) {
                const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                for (int x = 0; x < edge; ++x)
                    out << quint8(qBlue(line[x])) << quint8(qGreen(line[x]))
                        << quint8(qRed(line[x])) << quint8(qAlpha(line[x]));
            }
            // The alpha channel carries the transparency, so the AND mask stays empty.
            for (int i = 0; i < maskStride * edge; ++i)
                out << quint8(0);
        }
        entries.append(data);
    }
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(entries.size());
    quint32 offset = 6 + 16 * quint32(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const quint8 edgeByte = edges[i] >= 256 ? 0 : quint8(edges[i]);
        out << edgeByte << edgeByte << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(entries[i].size()) << offset;
        offset += quint32(entries[i].size());
    }
    for (const QByteArray &entry : entries)
        out.writeRawData(entry.constData(), entry.size());
    return file;
}

// ---- the catalogue -----------------------------------------------------------------

std::vector<Picture> catalogue()
{
    using Glyph = std::function<void(QPainter &, const QRectF &, const QColor &)>;
    std::vector<Picture> list;
    auto single = [&list](const QString &name, QSize size, std::function<QImage(QSize)> draw) {
        list.push_back({name, size, Layout::Single, std::move(draw)});
    };
    auto banded = [&list](const QString &name, QSize size, Layout layout,
                          std::function<QImage(QSize)> draw) {
        list.push_back({name, size, layout, std::move(draw)});
    };

    // Training bar.
    const QString names[] = {QStringLiteral("Control/bg-float-control-left.png"),
                             QStringLiteral("Control/bg-float-control.png"),
                             QStringLiteral("Control/bg-float-control-right.png")};
    for (int i = 0; i < 3; ++i)
        single(names[i], QSize(17, 85), [i](QSize) { return barPiece(i); });

    single(QStringLiteral("Control/start.png"), QSize(97, 41), [](QSize s) {
        return singleWord(s, Tone::Primary, playIcon);
    });
    single(QStringLiteral("Control/transcrip.png"), QSize(89, 44), [](QSize s) {
        return singleWord(s, Tone::Glass,
                          [](QPainter &p, const QRectF &b, const QColor &c) { pageIcon(p, b, c, false); });
    });
    single(QStringLiteral("Control/translation.png"), QSize(93, 44), [](QSize s) {
        return singleWord(s, Tone::Glass,
                          [](QPainter &p, const QRectF &b, const QColor &c) { pageIcon(p, b, c, true); });
    });
    single(QStringLiteral("Control/demonstration.png"), QSize(98, 42), [](QSize s) {
        return singleWord(s, Tone::Glass, headphoneIcon);
    });
    single(QStringLiteral("Control/learn_again.png"), QSize(98, 44), [](QSize s) {
        return singleWord(s, Tone::Outline, againIcon);
    });
    single(QStringLiteral("Control/left.png"), QSize(178, 50), videoButton);
    single(QStringLiteral("Control/right.png"), QSize(126, 50), videoButton);

    banded(QStringLiteral("Control/button-record.png"), QSize(60, 120), Layout::Toggle, recordButton);
    banded(QStringLiteral("Control/button-play-pause.png"), QSize(60, 120), Layout::Toggle,
           playPauseButton);
    banded(QStringLiteral("Control/button-next.png"), QSize(30, 120), Layout::Strip,
           [](QSize s) { return stepButton(s, true); });
    banded(QStringLiteral("Control/button-previous.png"), QSize(30, 120), Layout::Strip,
           [](QSize s) { return stepButton(s, false); });
    banded(QStringLiteral("Control/button-listen.png"), QSize(30, 120), Layout::Strip, listenButton);
    banded(QStringLiteral("Control/button-expand.png"), QSize(15, 115), Layout::Strip, expandButton);
    banded(QStringLiteral("Control/back.png"), QSize(17, 110), Layout::Strip, backButton);
    for (int n = 1; n <= 5; ++n) {
        banded(QStringLiteral("Control/%1.png").arg(n), QSize(32, 128), Layout::Strip,
               [n](QSize s) { return repeatTile(s, n); });
        banded(QStringLiteral("Control/%1%1.png").arg(n), QSize(32, 128), Layout::Strip,
               [n](QSize s) { return practiceTile(s, n); });
    }

    // Player panel: transport.
    const Glyph play = [](QPainter &p, const QRectF &r, const QColor &c) {
        fillPath(p, triangle(r.adjusted(1.5, 0.5, -0.5, -0.5), true), c);
    };
    const Glyph suspend = [](QPainter &p, const QRectF &r, const QColor &c) {
        pauseBars(p, r.adjusted(1, 0.5, -1, -0.5), c);
    };
    const Glyph stop = [](QPainter &p, const QRectF &r, const QColor &c) {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 1.5, 1.5);
    };
    const Glyph backward = [](QPainter &p, const QRectF &r, const QColor &c) {
        doubleTriangle(p, r, c, false);
    };
    const Glyph forward = [](QPainter &p, const QRectF &r, const QColor &c) {
        doubleTriangle(p, r, c, true);
    };
    struct Small
    {
        const char *base;
        int edge;
        Glyph glyph;
    };
    const Small smalls[] = {{"play", 10, play},         {"suspend", 10, suspend},
                            {"stop", 12, stop},         {"backward", 12, backward},
                            {"forward", 12, forward}};
    for (const Small &s : smalls) {
        const Glyph glyph = s.glyph;
        for (bool hover : {false, true}) {
            single(QStringLiteral("images/%1%2.png")
                       .arg(QLatin1String(s.base), hover ? QStringLiteral("02") : QString()),
                   QSize(s.edge, s.edge),
                   [glyph, hover](QSize size) { return panelSmall(size, hover, glyph); });
        }
    }

    // Player panel: loop marks.
    const Glyph markIn = [](QPainter &p, const QRectF &r, const QColor &c) { markBracket(p, r, c, true); };
    const Glyph markOut = [](QPainter &p, const QRectF &r, const QColor &c) { markBracket(p, r, c, false); };
    const Glyph inReset = [](QPainter &p, const QRectF &r, const QColor &c) { markToWall(p, r, c, true); };
    const Glyph outReset = [](QPainter &p, const QRectF &r, const QColor &c) { markToWall(p, r, c, false); };
    const Glyph loop = [](QPainter &p, const QRectF &r, const QColor &c) {
        loopArrows(p, r.center(), 6.2, c, 1.6);
    };
    struct Mark
    {
        const char *base;
        Glyph glyph;
    };
    const Mark marks[] = {{"syd", inReset}, {"start", markIn}, {"repeat", loop},
                          {"end", markOut}, {"xyd", outReset}};
    for (const Mark &m : marks) {
        const Glyph glyph = m.glyph;
        for (bool hover : {false, true}) {
            single(QStringLiteral("images/%1%2.png")
                       .arg(QLatin1String(m.base), hover ? QStringLiteral("02") : QString()),
                   QSize(24, 24),
                   [glyph, hover](QSize size) { return panelButton(size, hover, glyph); });
        }
    }
    single(QStringLiteral("images/weitiao01.png"), QSize(10, 10),
           [](QSize s) { return fineStep(s, false, false); });
    single(QStringLiteral("images/weitiao0102.png"), QSize(19, 16),
           [](QSize s) { return fineStep(s, true, false); });
    single(QStringLiteral("images/weitiao02.png"), QSize(10, 10),
           [](QSize s) { return fineStep(s, false, true); });
    single(QStringLiteral("images/weitiao0202.png"), QSize(19, 16),
           [](QSize s) { return fineStep(s, true, true); });
    single(QStringLiteral("images/voice.png"), QSize(24, 24), [](QSize s) {
        return drawn(s, [](QPainter &p, const QRectF &r) { speaker(p, r, colour::glyph); });
    });

    // Importer and application icon.
    list.push_back({QStringLiteral("images/btn-popdlg.png"), QSize(144, 104), Layout::Toggle,
                    dialogButtons});
    single(QStringLiteral("images/zorva.png"), QSize(256, 256),
           [](QSize s) { return renderSvg(iconSvg(), s.width()); });
    return list;
}

// ---- checks ---------------------------------------------------------------------------

qint64 coverage(const QImage &image, const QRect &area)
{
    const QImage part = image.copy(area).convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            sum += qAlpha(part.pixel(x, y));
    return sum;
}

bool hasInk(const QImage &image, const QRect &area)
{
    return coverage(image, area) > 0;
}

// What the program expects, kept apart from the drawing code so that a slip in either
// shows up: names and sizes of the bar's pictures, the player panel's border images at
// the size their margins leave of a 24 x 24 button, the importer's button sheet.
struct Requirement
{
    const char *name;
    int width;
    int height;
    Layout layout;
};

const Requirement kRequired[] = {
    {"Control/start.png", 97, 41, Layout::Single},
    {"Control/transcrip.png", 89, 44, Layout::Single},
    {"Control/translation.png", 93, 44, Layout::Single},
    {"Control/button-record.png", 60, 120, Layout::Toggle},
    {"Control/button-play-pause.png", 60, 120, Layout::Toggle},
    {"Control/button-next.png", 30, 120, Layout::Strip},
    {"Control/button-listen.png", 30, 120, Layout::Strip},
    {"Control/button-previous.png", 30, 120, Layout::Strip},
    {"Control/button-expand.png", 15, 115, Layout::Strip},
    {"Control/back.png", 17, 110, Layout::Strip},
    {"Control/11.png", 32, 128, Layout::Strip},
    {"Control/22.png", 32, 128, Layout::Strip},
    {"Control/33.png", 32, 128, Layout::Strip},
    {"Control/44.png", 32, 128, Layout::Strip},
    {"Control/55.png", 32, 128, Layout::Strip},
    {"Control/1.png", 32, 128, Layout::Strip},
    {"Control/2.png", 32, 128, Layout::Strip},
    {"Control/3.png", 32, 128, Layout::Strip},
    {"Control/4.png", 32, 128, Layout::Strip},
    {"Control/5.png", 32, 128, Layout::Strip},
    {"Control/learn_again.png", 98, 44, Layout::Single},
    {"Control/demonstration.png", 98, 42, Layout::Single},
    {"Control/left.png", 178, 50, Layout::Single},
    {"Control/right.png", 126, 50, Layout::Single},
    {"Control/bg-float-control-left.png", 17, 85, Layout::Single},
    {"Control/bg-float-control.png", 17, 85, Layout::Single},
    {"Control/bg-float-control-right.png", 17, 85, Layout::Single},
    {"images/backward.png", 12, 12, Layout::Single},
    {"images/backward02.png", 12, 12, Layout::Single},
    {"images/play.png", 10, 10, Layout::Single},
    {"images/play02.png", 10, 10, Layout::Single},
    {"images/suspend.png", 10, 10, Layout::Single},
    {"images/suspend02.png", 10, 10, Layout::Single},
    {"images/stop.png", 12, 12, Layout::Single},
    {"images/stop02.png", 12, 12, Layout::Single},
    {"images/forward.png", 12, 12, Layout::Single},
    {"images/forward02.png", 12, 12, Layout::Single},
    {"images/syd.png", 24, 24, Layout::Single},
    {"images/syd02.png", 24, 24, Layout::Single},
    {"images/weitiao01.png", 10, 10, Layout::Single},
    {"images/weitiao0102.png", 19, 16, Layout::Single},
    {"images/start.png", 24, 24, Layout::Single},
    {"images/start02.png", 24, 24, Layout::Single},
    {"images/weitiao02.png", 10, 10, Layout::Single},
    {"images/weitiao0202.png", 19, 16, Layout::Single},
    {"images/repeat.png", 24, 24, Layout::Single},
    {"images/repeat02.png", 24, 24, Layout::Single},
    {"images/end.png", 24, 24, Layout::Single},
    {"images/end02.png", 24, 24, Layout::Single},
    {"images/xyd.png", 24, 24, Layout::Single},
    {"images/xyd02.png", 24, 24, Layout::Single},
    {"images/voice.png", 24, 24, Layout::Single},
    {"images/btn-popdlg.png", 144, 104, Layout::Toggle},
    {"images/zorva.png", 256, 256, Layout::Single},
};

// The files embedded besides the drawn pictures.
const char *const kOtherEmbedded[] = {"images/tapeplayer.ico", "images/zorva.svg"};

// A button picture must have the required size, something in each band, and hover,
// pressed and disabled bands that differ from the normal one.
QStringList problems(const Requirement &required, const QImage &written)
{
    QStringList found;
    if (written.isNull())
        return {QStringLiteral("is missing or unreadable")};
    if (written.size() != QSize(required.width, required.height)) {
        found << QStringLiteral("is %1 x %2, must be %3 x %4")
                     .arg(written.width()).arg(written.height())
                     .arg(required.width).arg(required.height);
        return found;
    }
    if (required.layout == Layout::Single) {
        if (!hasInk(written, written.rect()))
            found << QStringLiteral("is empty");
        return found;
    }
    const int columns = required.layout == Layout::Toggle ? 2 : 1;
    const int width = written.width() / columns;
    const int height = written.height() / 4;
    // Hover and pressed keep the normal band's shape, disabled fades it to 40 %; a band
    // cut from the wrong rows shows up as a different amount of ink.
    const double expected[] = {1.0, 1.0, 1.0, 0.4};
    for (int column = 0; column < columns; ++column) {
        const QRect normalBand(column * width, 0, width, height);
        const QImage normal = written.copy(normalBand);
        const double normalInk = double(coverage(written, normalBand));
        for (int k = 0; k < 4; ++k) {
            const QRect band(column * width, k * height, width, height);
            const double ratio = normalInk > 0 ? coverage(written, band) / normalInk : 0.0;
            if (!hasInk(written, band))
                found << QStringLiteral("band %1 of column %2 is empty").arg(k).arg(column);
            else if (k > 0 && written.copy(band) == normal)
                found << QStringLiteral("band %1 of column %2 equals the normal band").arg(k).arg(column);
            else if (std::abs(ratio - expected[k]) > 0.06)
                found << QStringLiteral("band %1 of column %2 has %3 of the normal band's ink, expected %4")
                             .arg(k).arg(column).arg(ratio, 0, 'f', 2).arg(expected[k]);
        }
    }
    return found;
}

// Every embedded file must be listed in the resource file under its folder's prefix with
// its own file name as alias (":/Control/start.png"), and every listed file must exist.
QStringList qrcProblems(const QString &root, const QStringList &embedded)
{
    QFile file(root + QStringLiteral("/resources.qrc"));
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("resources.qrc cannot be read")};
    QStringList found;
    QStringList listed;
    QString prefix;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("qresource")) {
            prefix = xml.attributes().value(QStringLiteral("prefix")).toString();
        } else if (xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QStringLiteral("alias")).toString();
            const QString path = xml.readElementText();
            const QString resource = prefix + QLatin1Char('/') + (alias.isEmpty() ? path : alias);
            if (resource != QLatin1Char('/') + path)
                found << QStringLiteral("resources.qrc: %1 is embedded as :%2").arg(path, resource);
            if (!QFileInfo::exists(root + QLatin1Char('/') + path))
                found << QStringLiteral("resources.qrc: %1 does not exist").arg(path);
            listed << path;
        }
    }
    if (xml.hasError())
        found << QStringLiteral("resources.qrc: %1").arg(xml.errorString());
    for (const QString &name : embedded)
        if (!listed.contains(name))
            found << QStringLiteral("resources.qrc does not list %1").arg(name);
    return found;
}

bool writePng(const QString &path, const QImage &image)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QStringList iconProblems(const QString &icoPath, const QVector<int> &edges)
{
    QStringList found;
    QImageReader reader(icoPath);
    if (reader.imageCount() != edges.size())
        found << QStringLiteral("holds %1 images, expected %2").arg(reader.imageCount()).arg(edges.size());
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.isNull())
            found << QStringLiteral("image %1 does not load: %2").arg(i).arg(reader.errorString());
    }
    const QIcon icon(icoPath);
    if (icon.isNull() || icon.pixmap(32, 32).isNull())
        found << QStringLiteral("does not load as an icon");
    return found;
}

// ---- contact sheet ----------------------------------------------------------------------

// The training bar at 1x in each of its button sets, with the pictures at the positions
// the bar gives them, to judge spacing and contrast as the learner sees them.
class BarPreview
{
public:
    BarPreview(QPainter &painter, const QString &root) : m_p(painter), m_root(root) {}

    void background(const QPoint &at)
    {
        m_at = at;
        const QImage left = load("Control/bg-float-control-left.png");
        const QImage middle = load("Control/bg-float-control.png");
        const QImage right = load("Control/bg-float-control-right.png");
        const int width = 640;
        m_p.drawImage(at, left);
        for (int x = left.width(); x < width - right.width(); x += middle.width()) {
            const int piece = std::min(middle.width(), width - right.width() - x);
            m_p.drawImage(QRect(at.x() + x, at.y(), piece, 85), middle, QRect(0, 0, piece, 85));
        }
        m_p.drawImage(at + QPoint(width - right.width(), 0), right);
        put("Control/button-expand.png", 600, 0, 1, 0, 0);
    }

    // columns 0: the whole picture; otherwise the band `state` of column `column`.
    void put(const char *name, int x, int y, int columns = 0, int column = 0, int state = 0)
    {
        const QImage sheet = load(name);
        if (columns == 0) {
            m_p.drawImage(m_at + QPoint(x, y), sheet);
            return;
        }
        const int w = sheet.width() / columns;
        const int h = sheet.height() / 4;
        m_p.drawImage(m_at + QPoint(x, y), sheet.copy(column * w, state * h, w, h));
    }

    void label(const QString &text, int x, int y, const QColor &c = Qt::white, int pixels = 12)
    {
        m_p.setFont(font(pixels));
        m_p.setPen(c);
        m_p.drawText(QRect(m_at.x() + x + 4, m_at.y() + y, 200, pixels + 6),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    }

private:
    QImage load(const char *name) const { return QImage(m_root + QLatin1Char('/') + QLatin1String(name)); }

    QPainter &m_p;
    QString m_root;
    QPoint m_at;
};

void drawBarPreviews(QPainter &p, const QPoint &at, const QString &root)
{
    BarPreview bar(p, root);
    const int dx = 660;
    const int dy = 95;

    bar.background(at); // at start: the two help videos
    bar.put("Control/left.png", 100, 10);
    bar.put("Control/right.png", 400, 10);

    bar.background(at + QPoint(dx, 0)); // a material chosen for study
    bar.put("Control/start.png", 35, 15);
    bar.put("Control/transcrip.png", 175, 15);
    bar.put("Control/translation.png", 310, 15);
    bar.put("Control/demonstration.png", 450, 15);

    bar.background(at + QPoint(0, dy)); // step 1, recording, the next button hovered
    bar.put("Control/button-record.png", 10, 10, 2, 1, 0);
    bar.put("Control/button-play-pause.png", 60, 10, 2, 0, 0);
    bar.put("Control/button-next.png", 600, 40, 1, 0, 1);
    bar.put("Control/button-listen.png", 560, 5, 1, 0, 0);
    bar.label(QStringLiteral("源语复述"), 10, 60);
    bar.label(QStringLiteral("00:07"), 320, 15, Qt::white, 20);
    bar.label(QStringLiteral("请在听完一遍录音后用源语复述"), 130, 50, colour::hint);
    bar.label(QStringLiteral("下一步"), 595, 68);

    bar.background(at + QPoint(dx, dy)); // step 2, playing back the sentence
    bar.put("Control/button-record.png", 10, 10, 2, 0, 0);
    bar.put("Control/button-play-pause.png", 60, 10, 2, 1, 0);
    bar.put("Control/button-previous.png", 550, 40, 1, 0, 2);
    bar.put("Control/button-next.png", 600, 40, 1, 0, 0);
    bar.label(QStringLiteral("译入语交替传译练习"), 10, 60);
    bar.label(QStringLiteral("请再听一遍录音并做下笔记"), 130, 50, colour::hint);
    bar.label(QStringLiteral("上一步"), 545, 68);
    bar.label(QStringLiteral("下一步"), 595, 68);

    bar.background(at + QPoint(0, 2 * dy)); // choosing a repeat to review: three made
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = QByteArray("Control/") + QByteArray::number(i + 1) + ".png";
        bar.put(name.constData(), 28 + 100 * i, 30, 1, 0, i < 3 ? (i == 1 ? 1 : 0) : 3);
    }
    bar.put("Control/demonstration.png", 528, 30);

    bar.background(at + QPoint(dx, 2 * dy)); // after the steps: the five recordings
    const char *captions[] = {"源语复述", "译入语交传", "视译", "二次原语复述", "同传"};
    const int captionX[] = {14, 110, 226, 302, 426};
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = QByteArray("Control/") + QByteArray::number(11 * (i + 1)) + ".png";
        bar.put(name.constData(), 28 + 100 * i, 30, 1, 0, i == 4 ? 3 : 0);
        bar.label(QString::fromUtf8(captions[i]), captionX[i], 60);
    }
    bar.put("Control/learn_again.png", 528, 30);
    bar.put("Control/back.png", 10, 0, 1, 0, 0);
}

// The player panel as its style sheet lays it out: 24 x 24 buttons whose border images
// are shrunk by their margins, on the panel's black-to-blue gradient.
void drawPanelPreview(QPainter &p, const QPoint &at, const QString &root, bool hover)
{
    const QRect panel(at, QSize(640, 56));
    QLinearGradient background(panel.topLeft(), panel.bottomLeft());
    background.setColorAt(0, Qt::black);
    background.setColorAt(1, QColor(0x13, 0x7e, 0xb6));
    p.fillRect(panel, background);
    p.setFont(font(12));
    p.setPen(Qt::white);
    p.drawText(QRect(at.x() + 5, at.y() + 6, 60, 16), Qt::AlignVCenter, QStringLiteral("00:01:07"));
    p.drawText(QRect(at.x() + 575, at.y() + 6, 60, 16), Qt::AlignVCenter, QStringLiteral("00:03:20"));
    QLinearGradient slider(0, at.y() + 10, 0, at.y() + 18);
    slider.setColorAt(0, QColor(0xEE, 0xDD, 0xCC));
    slider.setColorAt(1, QColor(0xCC, 0xDD, 0xEE));
    p.fillRect(QRect(at.x() + 72, at.y() + 10, 496, 8), slider);
    p.fillRect(QRect(at.x() + 190, at.y() + 15, 120, 6), QColor(0xAA, 0x99, 0x00));

    struct Button
    {
        const char *normal;
        const char *hovered;
        QMargins margin;
        QMargins hoverMargin;
    };
    const QMargins six(6, 6, 6, 6), seven(7, 7, 7, 7), none, fine(3, 4, 2, 4);
    const Button transport[] = {{"backward", "backward02", six, six},
                                {"play", "play02", seven, seven},
                                {"stop", "stop02", six, six},
                                {"forward", "forward02", six, six}};
    const Button marks[] = {{"syd", "syd02", none, none},
                            {"weitiao01", "weitiao0102", seven, fine},
                            {"start", "start02", none, none},
                            {"weitiao02", "weitiao0202", seven, fine},
                            {"repeat", "repeat02", none, none},
                            {"weitiao01", "weitiao0102", seven, fine},
                            {"end", "end02", none, none},
                            {"weitiao02", "weitiao0202", seven, fine},
                            {"xyd", "xyd02", none, none}};
    auto draw = [&](const Button &b, int x) {
        const QRect button(x, at.y() + 28, 24, 24);
        const QString name = QLatin1String(hover ? b.hovered : b.normal);
        p.drawImage(button.marginsRemoved(hover ? b.hoverMargin : b.margin),
                    QImage(root + QStringLiteral("/images/") + name + QStringLiteral(".png")));
    };
    int x = at.x() + 40;
    for (const Button &b : transport) {
        draw(b, x);
        x += 31;
    }
    x = at.x() + 187;
    for (const Button &b : marks) {
        draw(b, x);
        x += 31;
    }
    p.drawImage(QPoint(at.x() + 489, at.y() + 28), QImage(root + QStringLiteral("/images/voice.png")));
    p.fillRect(QRect(at.x() + 520, at.y() + 38, 80, 4), Qt::gray);
    p.fillRect(QRect(at.x() + 570, at.y() + 35, 6, 10), Qt::yellow);
}

bool writeContactSheet(const QString &path, const QString &root, const std::vector<Picture> &pictures)
{
    const int scale = 2;
    const int width = 1400;
    const int gap = 18;
    const int labelHeight = 18;
    // Lay the pictures out in rows first to know the sheet's height.
    struct Cell
    {
        QString name;
        QImage image;
        QPoint at;
    };
    std::vector<Cell> cells;
    const QFont labelFont = font(11);
    auto labelWidth = [&labelFont](const QString &text) {
        return qCeil(QFontMetricsF(labelFont).horizontalAdvance(text)) + 4;
    };
    int x = gap, y = 60, rowHeight = 0;
    auto place = [&](const QString &name, const QImage &image) {
        const QSize shown = image.size() * (image.width() >= 256 ? 1 : scale);
        const int cellWidth = std::max(shown.width(), labelWidth(QFileInfo(name).fileName()));
        if (x + cellWidth > width - gap) {
            x = gap;
            y += rowHeight + labelHeight + gap;
            rowHeight = 0;
        }
        cells.push_back({name, image, QPoint(x, y)});
        x += cellWidth + gap;
        rowHeight = std::max(rowHeight, shown.height());
    };
    for (const Picture &picture : pictures)
        place(picture.name, QImage(root + QLatin1Char('/') + picture.name));
    QImageReader ico(root + QStringLiteral("/images/tapeplayer.ico"));
    ico.jumpToImage(std::max(0, ico.imageCount() - 2));
    place(QStringLiteral("images/tapeplayer.ico"), ico.read());
    const int previewTop = y + rowHeight + labelHeight + 2 * gap;
    const int panelTop = previewTop + 3 * 95 + 3 * gap;
    const int height = panelTop + 2 * 56 + 10 + gap;

    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0x6e, 0x73, 0x7a));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::white);
    p.setFont(font(20, QFont::Medium));
    p.drawText(QPoint(gap, 36), QStringLiteral("ZORVA embedded pictures (2x)"));
    p.setFont(font(11));
    for (const Cell &cell : cells) {
        const QSize shown = cell.image.size() * (cell.image.width() >= 256 ? 1 : scale);
        p.drawImage(QRect(cell.at, shown), cell.image);
        p.setPen(QColor(0xf2, 0xf4, 0xf6));
        p.drawText(QRect(cell.at.x(), cell.at.y() + shown.height() + 2, 300, labelHeight),
                   Qt::AlignLeft | Qt::AlignTop, QFileInfo(cell.name).fileName());
    }
    p.setPen(Qt::white);
    p.setFont(font(13, QFont::Medium));
    p.drawText(QPoint(gap, previewTop - 8),
               QStringLiteral("Training bar at 1x: start, entry, recording, playback, repeats, practice"));
    drawBarPreviews(p, QPoint(gap, previewTop), root);
    p.setPen(Qt::white);
    p.setFont(font(13, QFont::Medium));
    p.drawText(QPoint(gap, panelTop - 8), QStringLiteral("Player panel at 1x: normal and hover images"));
    drawPanelPreview(p, QPoint(gap, panelTop), root, false);
    drawPanelPreview(p, QPoint(gap, panelTop + 66), root, true);
    p.end();
    return writePng(path, sheet);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: zorva_drawartwork <resources folder> [--sheet <png>]\n";
        return 2;
    }
    const QString root = args.at(1);
    const int sheetIndex = args.indexOf(QStringLiteral("--sheet"));
    const QString sheetPath = sheetIndex > 0 && sheetIndex + 1 < args.size() ? args.at(sheetIndex + 1)
                                                                             : QString();
    QTextStream err(stderr);
    int failures = 0;
    const std::vector<Picture> pictures = catalogue();
    QStringList required;
    for (const Requirement &r : kRequired)
        required << QLatin1String(r.name);
    for (const Picture &picture : pictures) {
        const QString path = root + QLatin1Char('/') + picture.name;
        if (!required.contains(picture.name)) {
            err << picture.name << ": is drawn but not used by the program\n";
            ++failures;
        }
        if (!writePng(path, picture.draw(picture.size))) {
            err << path << ": cannot be written\n";
            ++failures;
        }
    }
    for (const Requirement &r : kRequired) {
        for (const QString &problem : problems(r, QImage(root + QLatin1Char('/') + QLatin1String(r.name)))) {
            err << r.name << ": " << problem << '\n';
            ++failures;
        }
    }

    const QVector<int> edges = {16, 24, 32, 48, 256};
    const QString icoPath = root + QStringLiteral("/images/tapeplayer.ico");
    if (!writeBytes(icoPath, icoFile(edges))) {
        err << icoPath << ": cannot be written\n";
        ++failures;
    } else {
        for (const QString &problem : iconProblems(icoPath, edges)) {
            err << "images/tapeplayer.ico: " << problem << '\n';
            ++failures;
        }
    }
    if (!writeBytes(root + QStringLiteral("/images/zorva.svg"), iconSvg())) {
        err << "images/zorva.svg: cannot be written\n";
        ++failures;
    }

    QStringList embedded = required;
    for (const char *name : kOtherEmbedded)
        embedded << QLatin1String(name);
    for (const QString &problem : qrcProblems(root, embedded)) {
        err << problem << '\n';
        ++failures;
    }

    if (!sheetPath.isEmpty() && !writeContactSheet(sheetPath, root, pictures)) {
        err << sheetPath << ": cannot be written\n";
        ++failures;
    }
    QTextStream(stdout) << pictures.size() + 2 << " pictures written, " << failures << " problems\n";
    return failures == 0 ? 0 : 1;
}
