#pragma once

#include <atomic>
#include <cstdint>

// The input level of the recording as fractions of full scale (after the recording gain, so
// 1.0 is where the take clips): the loudest sample and the RMS over a stretch of blocks.
struct InputLevel
{
    float peak = 0.0f;
    float rms = 0.0f;
};

// Hands the level from the audio callback to the window without a lock: the callback folds
// each block into one 64-bit word with a compare-and-swap, the window takes the word and
// leaves zero, so every block is counted in exactly one reading however the two interleave.
// Word layout: peak (16 bits, 0..2 of full scale), blocks (16 bits), the blocks' summed
// mean squares (a 32-bit float).
class InputLevelExchange
{
public:
    // Audio callback: one block of two channels; scale takes the samples to full scale = 1.
    void addBlock(const float *left, const float *right, unsigned long frames, float scale);
    // Any thread: what arrived since the last call; zero when nothing did.
    InputLevel take();

private:
    static_assert(std::atomic<std::uint64_t>::is_always_lock_free,
        "the audio callback must never wait for the window");
    std::atomic<std::uint64_t> m_word { 0 };
};
