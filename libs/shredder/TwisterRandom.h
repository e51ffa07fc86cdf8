// CTwisterRandom: the Mersenne Twister MT19937 (624 words, period 2^19937 - 1)
// with the older linear-congruential seeding (x = seed | 1, then x *= 69069).
// Used to draw the random names under which wiped files are deleted.
#pragma once
#include "ShredderDefs.h"
#include <cstdint>

class SHREDDER_API CTwisterRandom
{
public:
    explicit CTwisterRandom(uint32_t seed);

    // Refills the state from seed | 1 and stores the seed; the next draw
    // regenerates the whole state first.
    void Seed(uint32_t seed);

    // The next tempered 32-bit output.
    uint32_t Random();

    // A value from lo to hi (both included): |(int32) output mod (hi - lo + 1)| + lo.
    int RandomRange(int lo, int hi);

protected:
    // Regenerates the 624 state words and returns the first one, tempered.
    uint32_t Reload();

    static uint32_t Temper(uint32_t y);

    enum { N = 624, M = 397 };

    uint32_t m_state[N];
    uint32_t* m_next; // next state word not yet used
    int m_left;       // words not yet used; negative asks for a reload
    uint32_t m_seed;  // the seed last given
};
