#pragma once
// The program's pseudo-random generator and the shuffle built on it.

#include <cstdint>

#include "model/TestModel.h"

namespace quilmo {

// 32-bit linear congruential generator: seed := seed * 134775813 + 1 (mod 2^32);
// a draw from 0 to n - 1 is the high 32 bits of the 64-bit product of the new
// seed and n.
class TRandom {
public:
    explicit TRandom(uint32_t seed = 0) : seed_(seed) {}
    void SetSeed(uint32_t seed) { seed_ = seed; }
    uint32_t Seed() const { return seed_; }
    int32_t Next(int32_t n);  // 0 <= result < n; 0 when n <= 0

private:
    uint32_t seed_;
};

// Seeds the generator with `seed`, then performs 2n - 1 swaps of two uniformly
// drawn entries (none when n is 0).
void ShuffleIndices(TIntDynArray& array, TRandom& random, uint32_t seed);

}  // namespace quilmo
