// The shared generator: MT19937 with the multiplicative seeding, and its two helpers.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "engine/core/PXRandom.h"

namespace {

// Builds a standard-library MT19937 whose state is the one our seeding rule produces,
// so the twist and tempering are checked against an independent implementation.
std::mt19937 ReferenceSeededWith(uint32_t seed)
{
    std::stringstream state;
    uint32_t word = seed;
    for (int i = 0; i < 624; ++i) {
        state << word << ' ';
        word *= 69069u;
    }
    std::mt19937 reference;
    state >> reference;
    return reference;
}

TEST(Random, MatchesReferenceTwistAndTempering)
{
    for (uint32_t seed : {1u, 4357u, 0xDEADBEEFu, 0u}) {
        PXRandom random;
        random.Seed(seed);
        std::mt19937 reference = ReferenceSeededWith(seed);
        for (int i = 0; i < 2000; ++i)  // more than three full twists
            ASSERT_EQ(random.Next(), reference()) << "seed " << seed << " draw " << i;
    }
}

TEST(Random, NeverSeededBehavesAsSeed4357)
{
    PXRandom unseeded;
    PXRandom seeded;
    seeded.Seed(4357);
    EXPECT_FALSE(unseeded.IsSeeded());
    for (int i = 0; i < 700; ++i)
        ASSERT_EQ(unseeded.Next(), seeded.Next());
    EXPECT_TRUE(unseeded.IsSeeded());
}

TEST(Random, ReseedingRestartsTheSequence)
{
    PXRandom random;
    random.Seed(99);
    uint32_t first = random.Next();
    random.Next();
    random.Seed(99);
    EXPECT_EQ(random.Next(), first);
}

TEST(Random, RandomIntStaysInRangeAndSurvivesNonPositiveBounds)
{
    GlobalRandom().Seed(12345);
    for (int i = 0; i < 1000; ++i) {
        int v = RandomInt(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
    EXPECT_EQ(RandomInt(1), 0);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-5), 0);
}

TEST(Random, RandomIntIsTheNextOutputModuloN)
{
    PXRandom copy;
    copy.Seed(777);
    GlobalRandom().Seed(777);
    for (int n : {2, 3, 10, 1000, 0x7FFFFFFF})
        EXPECT_EQ(RandomInt(n), static_cast<int>(copy.Next() % static_cast<uint32_t>(n)));
}

TEST(Random, RandomSpreadCoversTheHalfOpenInterval)
{
    GlobalRandom().Seed(4242);
    float low = 1.0f, high = -1.0f;
    for (int i = 0; i < 20000; ++i) {
        float v = RandomSpread(3.0f);
        ASSERT_GE(v, -3.0f);
        ASSERT_LT(v, 3.0f);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_LT(low, -2.9f);
    EXPECT_GT(high, 2.9f);
}

}  // namespace
