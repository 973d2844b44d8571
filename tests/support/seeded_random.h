// Deterministic pseudo-random numbers for generated test input: the same seed
// gives the same sequence on every machine and every run, so a generated case
// that fails can be made again from its seed alone.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace testing_support {

// splitmix64: small, fast and well mixed; nothing here needs more.
class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed) : state_(seed) {}

    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number from 0 to bound - 1 (bound > 0).
    uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }

    // True with the given chance in percent.
    bool Percent(uint32_t chance) { return Below(100) < chance; }

    template <class T, size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Below(static_cast<uint32_t>(N))];
    }

private:
    uint64_t state_;
};

// How many generated cases a campaign runs: base normally, CAMPAIGN_TIMES
// times as many when that environment variable holds a number from 1 to
// 10000 (scripts/campaign --times N), 100 times as many with CAMPAIGN_LONG=1
// (a night's run).
inline int CampaignCaseCount(int base)
{
    const char* times = std::getenv("CAMPAIGN_TIMES");
    const long factor = times ? std::strtol(times, nullptr, 10) : 0;
    if (factor >= 1 && factor <= 10000)
        return base * static_cast<int>(factor);
    const char* setting = std::getenv("CAMPAIGN_LONG");
    return setting && std::strcmp(setting, "1") == 0 ? base * 100 : base;
}

}  // namespace testing_support
