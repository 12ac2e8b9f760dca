#include "model/Random.h"

#include <utility>

namespace quilmo {

int32_t TRandom::Next(int32_t n)
{
    // The seed moves on with every draw, also for an empty range, so that the
    // sequence of seeds does not depend on the ranges asked for.
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0)
        return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(seed_) * static_cast<uint32_t>(n)) >> 32);
}

void ShuffleIndices(TIntDynArray& array, TRandom& random, uint32_t seed)
{
    random.SetSeed(seed);
    const auto n = static_cast<int32_t>(array.size());
    if (n == 0)
        return;
    for (int64_t k = 0; k < 2 * int64_t(n) - 1; ++k) {
        const int32_t i = random.Next(n);
        const int32_t j = random.Next(n);
        std::swap(array[i], array[j]);
    }
}

}  // namespace quilmo
