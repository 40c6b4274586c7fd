#include "vkimageset.h"

void VkImageSet::add(const QPixmap &pixmap, int state, bool checked)
{
    if (!isValidState(state))
        return;
    (checked ? m_checked : m_unchecked)[state] = pixmap;
}

QPixmap VkImageSet::get(int state, bool checked) const
{
    const QPixmap *column = checked ? m_checked : m_unchecked;
    if (isValidState(state) && !column[state].isNull())
        return column[state];
    return column[Normal];
}

QSize VkImageSet::size(int state, bool checked) const
{
    return get(state, checked).size();
}

VkImageSet VkImageSet::single(const QPixmap &picture)
{
    VkImageSet set;
    for (int state = 0; state < StateCount; ++state)
        set.add(picture, state, false);
    return set;
}

VkImageSet VkImageSet::strip(const QPixmap &picture)
{
    VkImageSet set;
    const int bandHeight = picture.height() / StateCount;
    for (int state = 0; state < StateCount; ++state)
        set.add(picture.copy(0, state * bandHeight, picture.width(), bandHeight), state, false);
    return set;
}

VkImageSet VkImageSet::toggle(const QPixmap &picture)
{
    VkImageSet set;
    const int bandHeight = picture.height() / StateCount;
    const int halfWidth = picture.width() / 2;
    for (int state = 0; state < StateCount; ++state) {
        const int y = state * bandHeight;
        set.add(picture.copy(0, y, halfWidth, bandHeight), state, false);
        set.add(picture.copy(halfWidth, y, halfWidth, bandHeight), state, true);
    }
    return set;
}
