#include "takecontrols.h"

#include "levelmeter.h"
#include "trainingrules.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace {

using TrainingRules::consecutiveStep;
constexpr int controlsWidth = 210;
constexpr int meterWidth = 160;
constexpr int rowHeight = 22;
constexpr int continueWidth = 76;
constexpr int meterTop = 28;
constexpr int meterHeight = 10;
constexpr int textPixels = 12;

void whiteText(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(palette);
    QFont font = widget->font();
    font.setPixelSize(textPixels);
    widget->setFont(font);
}

} // namespace

TakeControls::TakeControls(QWidget *parent)
    : QWidget(parent)
    , m_meter(new LevelMeter(this))
    , m_segments(new QCheckBox(tr("By segments"), this))
    , m_continue(new QToolButton(this))
    , m_status(new QLabel(this))
{
    setFixedSize(controlsWidth, meterTop + meterHeight);
    m_meter->setObjectName(QStringLiteral("levelMeter"));
    m_meter->setGeometry(0, meterTop, meterWidth, meterHeight);
    m_segments->setObjectName(QStringLiteral("chkSegments"));
    m_segments->setToolTip(tr("Consecutive by segments: the model stops at the end of each "
                              "segment and your take starts at once; Continue plays the next one."));
    m_segments->setGeometry(0, 0, width(), rowHeight);
    whiteText(m_segments);
    m_continue->setObjectName(QStringLiteral("btnContinue"));
    m_continue->setGeometry(0, 0, continueWidth, rowHeight);
    m_continue->setStyleSheet(QStringLiteral(
        "QToolButton { color: white; background: #2f7d46; border: 1px solid #6c6; border-radius: 3px; }"
        "QToolButton:disabled { color: #999; background: #333; border-color: #555; }"));
    m_status->setObjectName(QStringLiteral("lblSegments"));
    m_status->setGeometry(continueWidth + 4, 0, width() - continueWidth - 4, rowHeight);
    whiteText(m_status);
    connect(m_segments, &QCheckBox::toggled, this, [this](bool chosen) {
        updateVisibility();
        emit segmentsChosenChanged(chosen);
    });
    updateVisibility();
}

void TakeControls::setContinueAction(QAction *action)
{
    m_continue->setDefaultAction(action);
}

bool TakeControls::segmentsChosen() const
{
    return m_segments->isChecked();
}

void TakeControls::setStep(int step)
{
    m_step = step;
    updateVisibility();
}

void TakeControls::setRecording(bool recording)
{
    m_recording = recording;
    updateVisibility();
}

void TakeControls::setPassState(bool running, const QString &text)
{
    m_passRunning = running;
    m_status->setText(text);
    updateVisibility();
}

// In step 2: the choice alone; once chosen, the choice and Continue (which starts a pass);
// during a pass, Continue and where the pass is. An ordinary take hides both.
void TakeControls::updateVisibility()
{
    const bool consecutive = m_step == consecutiveStep;
    const bool choosing = consecutive && !m_passRunning && !m_recording;
    m_meter->setVisible(m_recording);
    m_segments->setVisible(choosing);
    m_continue->setVisible(m_passRunning ? consecutive : choosing && m_segments->isChecked());
    m_status->setVisible(consecutive && m_passRunning && !m_status->text().isEmpty());
    m_continue->move(m_passRunning ? 0 : width() - continueWidth, 0);
    m_segments->resize(std::min(m_segments->sizeHint().width(), width() - continueWidth - 2), rowHeight);
}
