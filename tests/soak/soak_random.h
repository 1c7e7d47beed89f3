#pragma once
// The soak's source of chance: splitmix64, fully specified, so a seed gives the same sessions
// with any compiler and standard library (the standard distributions are not specified).

#include <cstdint>

namespace kq904::soak {

class SoakRandom {
public:
    explicit SoakRandom(std::uint64_t seed)
        : state_(seed)
    { }

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1; 0 when n is not positive.
    int below(int n)
    {
        return n > 0 ? static_cast<int>(next() % static_cast<std::uint64_t>(n)) : 0;
    }
    // lo to hi, both included.
    int between(int lo, int hi) { return hi < lo ? lo : lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    std::uint8_t byte() { return static_cast<std::uint8_t>(next() >> 56); }

private:
    std::uint64_t state_;
};

// The seed of one session of a soak: sessions differ even for neighbouring indexes.
inline std::uint64_t sessionSeed(std::uint64_t baseSeed, int index)
{
    SoakRandom mix(baseSeed * 0x100000001B3ull + static_cast<std::uint64_t>(index));
    return mix.next();
}

} // namespace kq904::soak
