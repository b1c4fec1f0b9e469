// MT19937 (624 words, standard twist and tempering) with the multiplicative seeding rule.
#include "engine/core/PXRandom.h"

void PXRandom::Seed(uint32_t seed)
{
    m_state[0] = seed;
    for (int i = 1; i < N; ++i)
        m_state[i] = m_state[i - 1] * 69069u;
    m_index = N;
}

void PXRandom::Twist()
{
    constexpr uint32_t upper = 0x80000000u;
    constexpr uint32_t lower = 0x7FFFFFFFu;
    constexpr uint32_t matrix = 0x9908B0DFu;
    for (int i = 0; i < N; ++i) {
        uint32_t y = (m_state[i] & upper) | (m_state[(i + 1) % N] & lower);
        m_state[i] = m_state[(i + M) % N] ^ (y >> 1) ^ ((y & 1u) ? matrix : 0u);
    }
    m_index = 0;
}

uint32_t PXRandom::Next()
{
    if (m_index > N)
        Seed(DefaultSeed);
    if (m_index == N)
        Twist();
    uint32_t y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

PXRandom& GlobalRandom()
{
    static PXRandom generator;
    return generator;
}

int RandomInt(int n)
{
    uint32_t u = GlobalRandom().Next();
    if (n < 1)
        return 0;
    return static_cast<int>(u % static_cast<uint32_t>(n));
}

float RandomSpread(float s)
{
    uint32_t u = GlobalRandom().Next();
    return static_cast<float>((static_cast<double>(u) * 2.3283064e-10 - 0.5) * 2.0 * s);
}
