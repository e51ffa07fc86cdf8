#include "TwisterRandom.h"

namespace {
const uint32_t kMatrixA = 0x9908B0DFu;

// Upper bit of u with the lower 31 bits of v.
inline uint32_t MixBits(uint32_t u, uint32_t v) { return (u & 0x80000000u) | (v & 0x7FFFFFFFu); }

inline uint32_t Twist(uint32_t m, uint32_t s0, uint32_t s1)
{
    return m ^ (MixBits(s0, s1) >> 1) ^ ((s1 & 1u) ? kMatrixA : 0u);
}
} // namespace

CTwisterRandom::CTwisterRandom(uint32_t seedValue) : m_next(m_state), m_left(-1), m_seed(seedValue) { Seed(seedValue); }

void CTwisterRandom::Seed(uint32_t seedValue)
{
    uint32_t x = seedValue | 1u;
    m_left = 0;
    m_state[0] = x;
    for (int i = 1; i < N; i++) {
        x *= 69069u; // unsigned arithmetic wraps modulo 2^32
        m_state[i] = x;
    }
    m_seed = seedValue;
}

uint32_t CTwisterRandom::Temper(uint32_t y)
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

uint32_t CTwisterRandom::Reload()
{
    if (m_left < -1)
        Seed(m_seed);

    m_next = m_state + 1;
    m_left = N - 1;

    int i = 0;
    for (; i < N - M; i++)
        m_state[i] = Twist(m_state[i + M], m_state[i], m_state[i + 1]);
    for (; i < N - 1; i++)
        m_state[i] = Twist(m_state[i + M - N], m_state[i], m_state[i + 1]);
    m_state[N - 1] = Twist(m_state[M - 1], m_state[N - 1], m_state[0]);

    return Temper(m_state[0]);
}

uint32_t CTwisterRandom::Random()
{
    if (--m_left < 0)
        return Reload();
    return Temper(*m_next++);
}

int CTwisterRandom::RandomRange(int lo, int hi)
{
    int span = hi - lo + 1;
    int r = static_cast<int32_t>(Random()) % span; // C++ truncates toward zero
    if (r < 0)
        r = -r;
    return r + lo;
}
