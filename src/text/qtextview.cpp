#include "qtextview.h"

#include "editor.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QGridLayout>
#include <QImage>
#include <QPalette>
#include <QSettings>

int backgroundIndexFor(const QString &storedName, const QStringList &pictures)
{
    if (storedName == plainColorBackgroundName() || pictures.isEmpty())
        return -1;
    return qMax(0, pictures.indexOf(storedName));
}

int nextBackgroundIndex(int index, int count)
{
    return index >= count - 1 ? 0 : index + 1;
}

int previousBackgroundIndex(int index, int count)
{
    return index <= 0 ? count - 1 : index - 1;
}

QTextView::QTextView(QWidget *parent)
    : QWidget(parent)
{
    m_backgroundDir.setPath(
        QCoreApplication::applicationDirPath() + QStringLiteral("/res/textview/Background"));
    m_backgroundDir.setFilter(QDir::Files);
    m_backgroundDir.setNameFilters({ QStringLiteral("*.bmp"), QStringLiteral("*.gif"),
        QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.png"),
        QStringLiteral("*.pbm"), QStringLiteral("*.pgm"), QStringLiteral("*.ppm"),
        QStringLiteral("*.tiff"), QStringLiteral("*.xbm"), QStringLiteral("*.xpm") });
    m_backgroundList = m_backgroundDir.entryList();

    readSettings();

    m_editor = new Editor(m_nStartX, m_nStartY, m_nWidth, m_nHeight, m_fontColor, m_nFontSize,
        m_fontFamily, m_dOpacity);
    applyInitialBackground();
    m_editor->setAutoFillBackground(true);

    m_layout = new QGridLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_editor, 0, 0, 1, 1);
    m_editor->installEventFilter(this);
}

// The panel and the layout are children of the view and go with it.
QTextView::~QTextView() = default;

void QTextView::readSettings()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("TextView"),
        QStringLiteral("TextView"));
    settings.beginGroup(QStringLiteral("Options"));
    m_nStartX = settings.value(QStringLiteral("m_nStartX"), 5).toInt();
    m_nStartY = settings.value(QStringLiteral("m_nStartY"), 5).toInt();
    m_nWidth = settings.value(QStringLiteral("m_nWidth"), 300).toInt();
    m_nHeight = settings.value(QStringLiteral("m_nHeight"), 350).toInt();
    m_fontColor = settings.value(QStringLiteral("m_fontColor"), QColor(Qt::white)).value<QColor>();
    m_nFontSize = settings.value(QStringLiteral("m_nFontSize"), 14).toInt();
    m_fontFamily = QFont(
        settings.value(QStringLiteral("m_fontFamily"), QStringLiteral("Verdana")).toString());
    m_dOpacity = static_cast<double>(settings.value(QStringLiteral("m_dOpacity"), 0.0).toFloat());
    // With no picture in the folder the plain colour is the only thing to show.
    const QString firstPicture
        = m_backgroundList.isEmpty() ? plainColorBackgroundName() : m_backgroundList.first();
    m_background = settings.value(QStringLiteral("m_background"), firstPicture).toString();
    m_backgroundColor = settings.value(QStringLiteral("m_backgroundColor"), QColor(Qt::transparent))
                            .value<QColor>();
}

void QTextView::applyInitialBackground()
{
    const int index = backgroundIndexFor(m_background, m_backgroundList);
    if (index < 0) {
        showColor();
        m_backgroundIndex = 0;
        return;
    }
    // Views start hidden; their pictures are large and need not hold up the window's start.
    m_pendingPicture = index;
    m_backgroundIndex = index;
}

void QTextView::showEvent(QShowEvent *event)
{
    if (m_pendingPicture >= 0)
        showPicture(m_pendingPicture);
    QWidget::showEvent(event);
}

void QTextView::showPicture(int index)
{
    m_pendingPicture = -1;
    showBackground(QBrush(QImage(m_backgroundDir.filePath(m_backgroundList.at(index)))));
}

void QTextView::showColor()
{
    m_pendingPicture = -1;
    showBackground(QBrush(m_backgroundColor));
}

void QTextView::showBackground(const QBrush &brush)
{
    m_shownBrush = brush;
    QPalette palette;
    palette.setBrush(QPalette::Window, brush);
    m_editor->setPalette(palette);
}

// The panel has a style sheet, and polishing a style sheet widget (on show, on a new
// parent, on any ancestor's sheet change) puts back the palette it had at an earlier
// polish, which would undo the background changes made since.
bool QTextView::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool restyled
        = type == QEvent::Polish || type == QEvent::StyleChange || type == QEvent::PaletteChange;
    if (watched == m_editor && restyled
        && m_editor->palette().brush(QPalette::Window) != m_shownBrush)
        showBackground(m_shownBrush);
    return QWidget::eventFilter(watched, event);
}

void QTextView::openText(const QString &path)
{
    m_editor->open(path);
}

void QTextView::nextBackground()
{
    if (m_backgroundList.isEmpty())
        return;
    m_backgroundIndex = nextBackgroundIndex(m_backgroundIndex, m_backgroundList.size());
    showPicture(m_backgroundIndex);
    m_background = m_backgroundList.at(m_backgroundIndex);
}

void QTextView::previousBackground()
{
    if (m_backgroundList.isEmpty())
        return;
    m_backgroundIndex = previousBackgroundIndex(m_backgroundIndex, m_backgroundList.size());
    showPicture(m_backgroundIndex);
    m_background = m_backgroundList.at(m_backgroundIndex);
}

void QTextView::colorBackground()
{
    const QColor chosen = QColorDialog::getColor(Qt::white, nullptr);
    // A cancelled choice gives an invalid colour: keep what is shown.
    if (!chosen.isValid())
        return;
    m_backgroundColor = chosen;
    showColor();
    m_background = plainColorBackgroundName();
}

void QTextView::resizeEditor(int width, int height)
{
    m_editor->resizeRect(width, height);
}
