#include "inputlevel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kPeakRange = 2.0f;
constexpr float kPeakSteps = 65535.0f;
constexpr std::uint64_t kMaxBlocks = 0xffff;

struct Unpacked
{
    float peak = 0.0f;
    std::uint64_t blocks = 0;
    float sumOfMeanSquares = 0.0f;
};

Unpacked unpack(std::uint64_t word)
{
    Unpacked u;
    u.peak = float(word >> 48) / kPeakSteps * kPeakRange;
    u.blocks = (word >> 32) & kMaxBlocks;
    const auto bits = std::uint32_t(word & 0xffffffffu);
    std::memcpy(&u.sumOfMeanSquares, &bits, sizeof bits);
    return u;
}

std::uint64_t pack(const Unpacked &u)
{
    const float clamped = std::min(u.peak, kPeakRange);
    const auto peak = std::uint64_t(std::lround(clamped / kPeakRange * kPeakSteps));
    std::uint32_t bits = 0;
    std::memcpy(&bits, &u.sumOfMeanSquares, sizeof bits);
    return peak << 48 | std::min(u.blocks, kMaxBlocks) << 32 | bits;
}

} // namespace

void InputLevelExchange::addBlock(
    const float *left, const float *right, unsigned long frames, float scale)
{
    if (frames == 0)
        return;
    // Four partial results let the compiler keep the loop in vector registers.
    float peaks[4] = {};
    float sums[4] = {};
    unsigned long i = 0;
    for (; i + 2 <= frames; i += 2) {
        const float lane[4] = { left[i], right[i], left[i + 1], right[i + 1] };
        for (int k = 0; k < 4; ++k) {
            const float magnitude = lane[k] < 0 ? -lane[k] : lane[k];
            peaks[k] = magnitude > peaks[k] ? magnitude : peaks[k];
            sums[k] += lane[k] * lane[k];
        }
    }
    for (; i < frames; ++i) {
        peaks[0] = std::max({ peaks[0], std::fabs(left[i]), std::fabs(right[i]) });
        sums[0] += left[i] * left[i] + right[i] * right[i];
    }
    float peak = std::max({ peaks[0], peaks[1], peaks[2], peaks[3] });
    const float squares = sums[0] + sums[1] + sums[2] + sums[3];
    peak *= scale;
    const float meanSquare = squares / float(2 * frames) * scale * scale;
    std::uint64_t seen = m_word.load(std::memory_order_relaxed);
    std::uint64_t folded = 0;
    do {
        Unpacked u = unpack(seen);
        // Nobody read for minutes: start over rather than let the counts overflow.
        if (u.blocks == kMaxBlocks)
            u = {};
        u.peak = std::max(u.peak, peak);
        u.blocks += 1;
        u.sumOfMeanSquares += meanSquare;
        folded = pack(u);
    } while (!m_word.compare_exchange_weak(seen, folded, std::memory_order_relaxed));
}

InputLevel InputLevelExchange::take()
{
    const Unpacked u = unpack(m_word.exchange(0, std::memory_order_relaxed));
    if (u.blocks == 0)
        return {};
    return { u.peak, std::sqrt(u.sumOfMeanSquares / float(u.blocks)) };
}
