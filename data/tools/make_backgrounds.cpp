// Draws the transcript view's background pictures into data/install/res/textview/Background.
// The view shows white text by default, so the pictures are dark, quiet textures. Every
// picture is built from noise that repeats exactly over the picture's size, so the view's
// tiling shows no seams. Build and run with make_backgrounds.sh.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QVector>
#include <QtMath>

#include <cstdio>

namespace {

constexpr int kSize = 512;

// Value noise on a cellsX x cellsY lattice that wraps around the picture's edges.
class PeriodicNoise
{
public:
    PeriodicNoise(int cellsX, int cellsY, quint32 seed)
        : m_cellsX(cellsX)
        , m_cellsY(cellsY)
        , m_values(cellsX * cellsY)
    {
        QRandomGenerator random(seed);
        for (double &value : m_values)
            value = random.generateDouble();
    }

    double at(double x, double y) const
    {
        const double gx = x / kSize * m_cellsX;
        const double gy = y / kSize * m_cellsY;
        const int x0 = static_cast<int>(std::floor(gx));
        const int y0 = static_cast<int>(std::floor(gy));
        const double fx = smooth(gx - x0);
        const double fy = smooth(gy - y0);
        const double top = mix(value(x0, y0), value(x0 + 1, y0), fx);
        const double bottom = mix(value(x0, y0 + 1), value(x0 + 1, y0 + 1), fx);
        return mix(top, bottom, fy);
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    static double mix(double a, double b, double t) { return a + (b - a) * t; }
    double value(int x, int y) const
    {
        const int wx = ((x % m_cellsX) + m_cellsX) % m_cellsX;
        const int wy = ((y % m_cellsY) + m_cellsY) % m_cellsY;
        return m_values[wy * m_cellsX + wx];
    }

    int m_cellsX;
    int m_cellsY;
    QVector<double> m_values;
};

// Several octaves, each twice as fine and half as strong; result 0..1.
double fractal(const QVector<PeriodicNoise> &octaves, double x, double y)
{
    double sum = 0;
    double weight = 1;
    double total = 0;
    for (const PeriodicNoise &octave : octaves) {
        sum += octave.at(x, y) * weight;
        total += weight;
        weight *= 0.5;
    }
    return sum / total;
}

QVector<PeriodicNoise> octaves(int cellsX, int cellsY, int count, quint32 seed)
{
    QVector<PeriodicNoise> result;
    for (int i = 0; i < count; ++i)
        result.append(PeriodicNoise(cellsX << i, cellsY << i, seed + i));
    return result;
}

QRgb shade(const QColor &base, double light)
{
    auto channel = [light](int c) { return qBound(0, qRound(c * light), 255); };
    return qRgb(channel(base.red()), channel(base.green()), channel(base.blue()));
}

template<typename Lightness>
QImage paint(const QColor &base, Lightness lightness)
{
    QImage image(kSize, kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kSize; ++x)
            line[x] = shade(base, lightness(x, y));
    }
    return image;
}

// Fine paper grain over soft clouds.
QImage slate()
{
    const auto clouds = octaves(4, 4, 3, 11);
    const auto grain = octaves(128, 128, 2, 21);
    return paint(QColor(0x26, 0x2e, 0x3b), [&](int x, int y) {
        return 0.86 + 0.22 * fractal(clouds, x, y) + 0.10 * (fractal(grain, x, y) - 0.5);
    });
}

QImage midnight()
{
    const auto clouds = octaves(2, 2, 5, 31);
    const auto grain = octaves(256, 256, 1, 41);
    return paint(QColor(0x17, 0x20, 0x36), [&](int x, int y) {
        return 0.80 + 0.40 * fractal(clouds, x, y) + 0.06 * (fractal(grain, x, y) - 0.5);
    });
}

// Woven threads: independent row and column streaks.
QImage linen()
{
    const auto rows = octaves(1, 256, 2, 51);
    const auto columns = octaves(256, 1, 2, 61);
    const auto warp = octaves(8, 8, 2, 71);
    return paint(QColor(0x2b, 0x2b, 0x2d), [&](int x, int y) {
        const double w = (fractal(warp, x, y) - 0.5) * 6;
        const double thread = 0.5 * fractal(rows, x + w, y) + 0.5 * fractal(columns, x, y + w);
        return 0.84 + 0.30 * thread;
    });
}

QImage deepTeal()
{
    const auto mottle = octaves(6, 6, 4, 81);
    const auto grain = octaves(128, 128, 2, 91);
    return paint(QColor(0x13, 0x2f, 0x33), [&](int x, int y) {
        return 0.82 + 0.32 * fractal(mottle, x, y) + 0.08 * (fractal(grain, x, y) - 0.5);
    });
}

// Long horizontal fibres with gentle rings, like dark walnut veneer.
QImage walnut()
{
    const auto fibres = octaves(2, 64, 3, 101);
    const auto rings = octaves(1, 4, 2, 111);
    return paint(QColor(0x33, 0x27, 0x1f), [&](int x, int y) {
        const double ring = 0.5 + 0.5 * std::sin(2 * M_PI * (4.0 * y / kSize + 1.5 * fractal(rings, x, y)));
        return 0.80 + 0.22 * fractal(fibres, x, y) + 0.10 * ring;
    });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    const struct { const char *name; QImage image; } pictures[] = {
        {"01-slate.jpg", slate()},
        {"02-midnight.jpg", midnight()},
        {"03-linen.jpg", linen()},
        {"04-deep-teal.jpg", deepTeal()},
        {"05-walnut.jpg", walnut()},
    };
    for (const auto &picture : pictures) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(picture.name);
        if (!picture.image.save(path, "JPG", 90)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
