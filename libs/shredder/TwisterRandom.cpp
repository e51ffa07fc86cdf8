#include "TwisterRandom.h"

namespace
{
const uint32_t kMatrixA = 0x9908B0DFu;

// Upper bit of u with the lower 31 bits of v.
inline uint32_t MixBits(uint32_t u, uint32_t v)
{
    return (u & 0x80000000u) | (v & 0x7FFFFFFFu);
}

inline uint32_t Twist(uint32_t m, uint32_t s0, uint32_t s1)
{
    return m ^ (MixBits(s0, s1) >> 1) ^ ((s1 & 1u) ? kMatrixA : 0u);
}
}

CTwisterRandom::CTwisterRandom(uint32_t seedValue)
    : next(state), left(-1), seed(seedValue)
{
    Seed(seedValue);
}

void CTwisterRandom::Seed(uint32_t seedValue)
{
    uint32_t x = seedValue | 1u;
    left = 0;
    state[0] = x;
    for (int i = 1; i < N; i++)
    {
        x *= 69069u;    // unsigned arithmetic wraps modulo 2^32
        state[i] = x;
    }
    seed = seedValue;
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
    if (left < -1)
        Seed(seed);

    next = state + 1;
    left = N - 1;

    int i = 0;
    for (; i < N - M; i++)
        state[i] = Twist(state[i + M], state[i], state[i + 1]);
    for (; i < N - 1; i++)
        state[i] = Twist(state[i + M - N], state[i], state[i + 1]);
    state[N - 1] = Twist(state[M - 1], state[N - 1], state[0]);

    return Temper(state[0]);
}

uint32_t CTwisterRandom::Random()
{
    if (--left < 0)
        return Reload();
    return Temper(*next++);
}

int CTwisterRandom::RandomRange(int lo, int hi)
{
    int span = hi - lo + 1;
    int r = static_cast<int32_t>(Random()) % span;  // C++ truncates toward zero
    if (r < 0)
        r = -r;
    return r + lo;
}
