#include "CArtNoise.h"

#include <cmath>

namespace {

std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double Smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace

std::uint64_t CArtNoise::Next()
{
    m_state += 0x9e3779b97f4a7c15ULL;
    return Mix(m_state);
}

double CArtNoise::Uniform()
{
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

double CArtNoise::Hash(std::uint64_t seed, std::int64_t x, std::int64_t y)
{
    const std::uint64_t h = Mix(
        seed
        ^ Mix(static_cast<std::uint64_t>(x) * 0x632be59bd9b4e019ULL + static_cast<std::uint64_t>(y) * 0x85157af5ULL));
    return static_cast<double>(h >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

double CArtNoise::Value(std::uint64_t seed, double x, double y)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx);
    const auto iy = static_cast<std::int64_t>(fy);
    const double tx = Smooth(x - fx);
    const double ty = Smooth(y - fy);
    const double a = Hash(seed, ix, iy);
    const double b = Hash(seed, ix + 1, iy);
    const double c = Hash(seed, ix, iy + 1);
    const double d = Hash(seed, ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double CArtNoise::Fractal(std::uint64_t seed, double x, double y, int octaves)
{
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Value(seed + static_cast<std::uint64_t>(i) * 7919, x, y);
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / total;
}
