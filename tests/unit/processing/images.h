// Test images of the filter comparisons: random, flat, saturated and a star field, in either
// frame geometry.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace images {

enum class Kind { Random, Flat, Saturated, StarField };

inline std::string name(Kind k)
{
    switch (k) {
    case Kind::Random: return "random";
    case Kind::Flat: return "flat";
    case Kind::Saturated: return "saturated";
    case Kind::StarField: return "starfield";
    }
    return "?";
}

// WIDTH x HEIGHT samples plus the four spare ones of a plane.
inline std::vector<uint16_t> make(Kind kind, int width, int height, unsigned seed = 1)
{
    std::mt19937 rng(seed);
    std::vector<uint16_t> p(static_cast<size_t>(width) * height + 4, 0);
    const int n = width * height;
    switch (kind) {
    case Kind::Random: {
        std::uniform_int_distribution<int> d(0, 65535);
        for (int i = 0; i < n; ++i) p[i] = static_cast<uint16_t>(d(rng));
        break;
    }
    case Kind::Flat:
        for (int i = 0; i < n; ++i) p[i] = 12345;
        break;
    case Kind::Saturated: {
        // Mostly at or near full scale, with values on both sides of 65000 and 65280.
        std::uniform_int_distribution<int> d(64900, 65535);
        std::bernoulli_distribution full(0.4);
        for (int i = 0; i < n; ++i) p[i] = full(rng) ? 65535 : static_cast<uint16_t>(d(rng));
        break;
    }
    case Kind::StarField: {
        std::normal_distribution<double> noise(0.0, 120.0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const double sky = 1800.0 + 3.0 * x + 2.0 * y + noise(rng);
                p[y * width + x] = static_cast<uint16_t>(std::clamp(sky, 0.0, 65535.0));
            }
        std::uniform_int_distribution<int> sx(0, width - 1), sy(0, height - 1), peak(2000, 90000);
        for (int s = 0; s < 150; ++s) {
            const int cx = sx(rng), cy = sy(rng);
            const double a = peak(rng);
            for (int y = std::max(0, cy - 6); y <= std::min(height - 1, cy + 6); ++y)
                for (int x = std::max(0, cx - 6); x <= std::min(width - 1, cx + 6); ++x) {
                    const double r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                    const double v = p[y * width + x] + a * std::exp(-r2 / 4.5);
                    p[y * width + x] = static_cast<uint16_t>(std::min(v, 65535.0));
                }
        }
        for (int h = 0; h < 40; ++h) p[sy(rng) * width + sx(rng)] = 65535;   // hot pixels
        break;
    }
    }
    return p;
}

}  // namespace images
