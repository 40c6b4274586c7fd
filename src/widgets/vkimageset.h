#pragma once

#include <QPixmap>
#include <QSize>

// The looks of an image button: one pixmap per (state, checked) pair. States are
// 0 normal, 1 hover, 2 pressed, 3 disabled; missing looks fall back to normal.
class VkImageSet
{
public:
    enum State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };
    static constexpr int StateCount = 4;

    void add(const QPixmap &pixmap, int state, bool checked);
    QPixmap get(int state, bool checked) const;
    QSize size(int state, bool checked) const;

    // The three ways a button picture is laid out: the same picture for every state,
    // four horizontal bands (normal, hover, pressed, disabled from the top), or two
    // such band columns side by side (unchecked left, checked right).
    static VkImageSet single(const QPixmap &picture);
    static VkImageSet strip(const QPixmap &picture);
    static VkImageSet toggle(const QPixmap &picture);

private:
    static bool isValidState(int state) { return state >= 0 && state < StateCount; }

    QPixmap m_unchecked[StateCount];
    QPixmap m_checked[StateCount];
};
