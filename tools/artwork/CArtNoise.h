#pragma once
// Deterministic randomness for the artwork: a seeded generator and smooth value noise. Nothing
// here depends on the time, the platform's random device or the order of threads, so the same
// build always produces the same pictures.

#include <cstdint>

class CArtNoise
{
public:
    explicit CArtNoise(std::uint64_t seed)
        : m_state(seed)
    {}

    // Next raw 64-bit number (SplitMix64).
    std::uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Uniform in [lo, hi).
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

    // Smooth value noise in [−1, 1] on an integer lattice, from a seed.
    static double Value(std::uint64_t seed, double x, double y);
    // Fractal sum of `octaves` layers of value noise, each twice as fine and half as strong.
    static double Fractal(std::uint64_t seed, double x, double y, int octaves);
    // White noise in [−1, 1] for one lattice point.
    static double Hash(std::uint64_t seed, std::int64_t x, std::int64_t y);

private:
    std::uint64_t m_state;
};
