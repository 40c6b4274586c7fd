#pragma once

#include <QColor>
#include <QDir>
#include <QFont>
#include <QStringList>
#include <QWidget>

class Editor;
class QGridLayout;

// The name the options use for "no picture, plain colour".
inline QString plainColorBackgroundName()
{
    return QStringLiteral("NONE");
}

// Index of the picture to show for the stored name: an exact match, else the first picture;
// -1 when the plain colour is to be shown (asked for, or no picture to show).
int backgroundIndexFor(const QString &storedName, const QStringList &pictures);

// The neighbouring index in a list of count pictures, wrapping at both ends.
int nextBackgroundIndex(int index, int count);
int previousBackgroundIndex(int index, int count);

// Pane that shows a transcript or translation over a background picture or plain colour;
// its display options come from the settings store of "TextView".
class QTextView : public QWidget
{
    Q_OBJECT
public:
    explicit QTextView(QWidget *parent = nullptr);
    ~QTextView() override;

    void openText(const QString &path);

    Editor *editor() const { return m_editor; }
    QString backgroundFolder() const { return m_backgroundDir.path(); }
    QStringList backgroundList() const { return m_backgroundList; }
    int backgroundIndex() const { return m_backgroundIndex; }
    QString backgroundName() const { return m_background; }
    QColor backgroundColor() const { return m_backgroundColor; }

public slots:
    void nextBackground();
    void previousBackground();
    void colorBackground();
    void resizeEditor(int width, int height);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void readSettings();
    void applyInitialBackground();
    void showPicture(int index);
    void showColor();
    void showBackground(const QBrush &brush);

    Editor *m_editor = nullptr;
    QGridLayout *m_layout = nullptr;
    QDir m_backgroundDir;
    QStringList m_backgroundList;
    int m_backgroundIndex = 0;
    // A picture chosen at start is decoded when the view is first shown (-1: none waits).
    int m_pendingPicture = -1;
    int m_nStartX = 5;
    int m_nStartY = 5;
    int m_nWidth = 300;
    int m_nHeight = 350;
    QColor m_fontColor = Qt::white;
    int m_nFontSize = 14;
    QFont m_fontFamily;
    double m_dOpacity = 0.0;
    QString m_background;
    QColor m_backgroundColor = Qt::transparent;
    QBrush m_shownBrush;
};
