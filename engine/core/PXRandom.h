// The process-wide random generator: MT19937 with its classic seeding.
#pragma once

#include <cstdint>

class PXRandom {
public:
    static constexpr uint32_t DefaultSeed = 4357;

    // Word 0 = seed, word i = word(i-1) * 69069 (mod 2^32).
    void Seed(uint32_t seed);
    // Next tempered 32-bit output; seeds with DefaultSeed when never seeded.
    uint32_t Next();
    bool IsSeeded() const { return m_index <= N; }

private:
    static constexpr int N = 624;
    static constexpr int M = 397;
    void Twist();

    uint32_t m_state[N] = {};
    int m_index = N + 1;  // N + 1: never seeded
};

// The one generator that every part of the program shares.
PXRandom& GlobalRandom();

// Next output modulo n; 0 when n < 1.
int RandomInt(int n);
// Uniform in [-s, +s).
float RandomSpread(float s);
