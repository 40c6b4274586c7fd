#include "barcaptions.h"

#include "vkbutton.h"

#include <QCoreApplication>

namespace {

// The word buttons' pictures hold a pill with an icon 10 pixels in from the left, as tall
// as 36 % of the button; the caption takes the rest of the pill.
QRect wordArea(const QWidget *button)
{
    const int height = button->height();
    const int left = 1 + 10 + qRound(height * 0.36) + 5;
    return {left, 0, button->width() - left - 6, height - 2};
}

// The help-video pictures hold a video mark 26 pixels wide at the left.
QRect videoArea(const QWidget *button)
{
    return {44, 5, button->width() - 44 - 6, button->height() - 12};
}

QString barText(const char *source)
{
    return QCoreApplication::translate("TsControl", source);
}

} // namespace

void captionBarButtons(QWidget *bar)
{
    const struct
    {
        const char *button;
        const char *caption;
    } words[] = { { "btnStart", QT_TRANSLATE_NOOP("TsControl", "开始") },
        { "btnTranscript", QT_TRANSLATE_NOOP("TsControl", "原文") },
        { "btnTranslation", QT_TRANSLATE_NOOP("TsControl", "译文") },
        { "btnDemonstration", QT_TRANSLATE_NOOP("TsControl", "示范") },
        { "btnLearnAgain", QT_TRANSLATE_NOOP("TsControl", "再学一遍") } };
    for (const auto &word : words) {
        if (auto *button = bar->findChild<VkButton *>(QLatin1String(word.button)))
            button->setCaption(barText(word.caption), wordArea(button));
    }
    const QString watch = barText(QT_TRANSLATE_NOOP("TsControl", "观看视频"));
    if (auto *method = bar->findChild<VkButton *>(QStringLiteral("btnLeft")))
        method->setCaption(barText(QT_TRANSLATE_NOOP("TsControl", "方法介绍")), videoArea(method), watch);
    if (auto *intro = bar->findChild<VkButton *>(QStringLiteral("btnRight")))
        intro->setCaption(barText(QT_TRANSLATE_NOOP("TsControl", "软件介绍")), videoArea(intro), watch);
}
