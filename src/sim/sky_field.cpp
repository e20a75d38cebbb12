#include "sky_field.h"

#include <algorithm>
#include <cmath>

#include "sim/sim_config.h"

namespace {
constexpr double SENSOR_W = 752, SENSOR_H = 580;
// Stars are scattered beyond the sensor's edges so that drift and slews bring new ones in.
constexpr double MARGIN_X = 150, MARGIN_Y = 300;

uint64_t splitmix(uint64_t& x)
{
    uint64_t z = (x += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

// Fraction of a Gaussian of rms SIGMA centred on C that falls between A and B.
double band(double a, double b, double c, double sigma)
{
    const double k = 1.0 / (sigma * std::sqrt(2.0));
    return 0.5 * (std::erf((b - c) * k) - std::erf((a - c) * k));
}
}

SimRandom::SimRandom(uint64_t seed)
{
    for (auto& s : s_)
        s = splitmix(seed);
}

uint64_t SimRandom::next()
{
    const uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

double SimRandom::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

double SimRandom::normal()
{
    if (has_spare_) {
        has_spare_ = false;
        return spare_;
    }
    double u, v, r;
    do {
        u = 2 * uniform() - 1;
        v = 2 * uniform() - 1;
        r = u * u + v * v;
    } while (r >= 1 || r == 0);
    const double f = std::sqrt(-2 * std::log(r) / r);
    spare_ = v * f;
    has_spare_ = true;
    return u * f;
}

CameraSkyParams CameraSkyParams::from(const SimConfig& c)
{
    CameraSkyParams p;
    p.star_count = c.get("star_count", p.star_count);
    p.star_brightest = c.get("star_brightest", p.star_brightest);
    p.star_magnitudes = c.get("star_magnitudes", p.star_magnitudes);
    p.seeing_fwhm = c.get("seeing_fwhm", p.seeing_fwhm);
    p.best_focus = c.get("best_focus", p.best_focus);
    p.defocus_per_step = c.get("defocus_per_step", p.defocus_per_step);
    p.sky_background = c.get("sky_background", p.sky_background);
    p.bias = c.get("bias", p.bias);
    p.read_noise = c.get("read_noise", p.read_noise);
    p.electrons_per_adu = c.get("electrons_per_adu", p.electrons_per_adu);
    p.dark_current = c.get("dark_current", p.dark_current);
    p.hot_pixel_fraction = c.get("hot_pixel_fraction", p.hot_pixel_fraction);
    p.hot_pixel_factor_min = c.get("hot_pixel_factor_min", p.hot_pixel_factor_min);
    p.hot_pixel_factor_max = c.get("hot_pixel_factor_max", p.hot_pixel_factor_max);
    p.vignetting = c.get("vignetting", p.vignetting);
    p.field_gain_ratio = c.get("field_gain_ratio", p.field_gain_ratio);
    p.lens_cap = c.get("lens_cap", p.lens_cap);
    p.sub_steps = c.get("sub_steps", p.sub_steps);
    return p;
}

SkyField::SkyField(const CameraSkyParams& params, uint64_t seed) : params_(params)
{
    // Stars: uniform over the area, magnitudes following the rise of star counts with magnitude
    // (about two times more stars per magnitude fainter).
    SimRandom stars(seed * 2 + 1);
    const double area = (SENSOR_W + 2 * MARGIN_X) * (SENSOR_H + 2 * MARGIN_Y);
    const int count = static_cast<int>(std::max(0.0, params_.star_count) * area / (SENSOR_W * SENSOR_H) + 0.5);
    const double top = std::pow(10.0, 0.3 * params_.star_magnitudes) - 1;
    stars_.reserve(count);
    for (int i = 0; i < count; ++i) {
        SimStar s;
        s.x = -MARGIN_X + stars.uniform() * (SENSOR_W + 2 * MARGIN_X);
        s.y = -MARGIN_Y + stars.uniform() * (SENSOR_H + 2 * MARGIN_Y);
        const double mag = std::log10(1 + stars.uniform() * top) / 0.3;
        s.flux = params_.star_brightest * std::pow(10.0, -0.4 * mag);
        stars_.push_back(s);
    }
    // Hot pixels belong to the sensor, not the sky: their own seed.
    SimRandom hot(seed * 2 + 0x5eed);
    const int hot_count = static_cast<int>(std::max(0.0, params_.hot_pixel_fraction) * SENSOR_W * SENSOR_H + 0.5);
    for (int i = 0; i < hot_count; ++i) {
        HotPixel h;
        h.x = static_cast<int>(hot.uniform() * SENSOR_W);
        h.y = static_cast<int>(hot.uniform() * SENSOR_H);
        h.factor = static_cast<float>(params_.hot_pixel_factor_min +
                                      hot.uniform() * (params_.hot_pixel_factor_max - params_.hot_pixel_factor_min));
        hot_.push_back(h);
    }
}

double SkyField::fwhm_at(double focus) const
{
    const double blur = params_.defocus_per_step * (focus - params_.best_focus);
    return std::sqrt(params_.seeing_fwhm * params_.seeing_fwhm + blur * blur);
}

double SkyField::vignette(double x, double y) const
{
    const double dx = x - (SENSOR_W - 1) / 2, dy = y - (SENSOR_H - 1) / 2;
    const double r2 = (dx * dx + dy * dy) / ((SENSOR_W / 2) * (SENSOR_W / 2) + (SENSOR_H / 2) * (SENSOR_H / 2));
    return 1 - params_.vignetting * r2;
}

void SkyField::expected_signal(const FieldRegion& region, int64_t t0_us, int64_t t1_us, SkyMotion& sky,
                               std::vector<float>& out) const
{
    out.assign(static_cast<size_t>(region.rows) * region.cols, 0.0f);
    const double seconds = std::max<int64_t>(0, t1_us - t0_us) / 1e6;
    const double gain = region.field == 1 ? params_.field_gain_ratio : 1.0;
    const bool light = params_.lens_cap == 0;
    const int steps = std::max(1, static_cast<int>(params_.sub_steps));

    // The sky's mean transparency and the focus over the interval, from the same sub-steps.
    std::vector<SkyOffset> offsets(steps);
    std::vector<double> clear(steps);
    double transparency = 0;
    for (int k = 0; k < steps; ++k) {
        const int64_t t = t0_us + static_cast<int64_t>((t1_us - t0_us) * (k + 0.5) / steps);
        offsets[k] = sky.offset_at(t);
        clear[k] = std::clamp(sky.transparency(t), 0.0, 1.0);
        transparency += clear[k] / steps;
    }
    const double sigma = fwhm_at(sky.focus_position((t0_us + t1_us) / 2)) / 2.3548;

    auto inside = [&](int row, int col) {
        return row >= 0 && row < FIELD_ROWS && col >= 0 && col < COLUMNS;
    };
    // Background light and dark current.
    for (int r = 0; r < region.rows; ++r) {
        const int row = region.row0 + r;
        const int sensor_row = 2 * row + region.field;
        for (int c = 0; c < region.cols; ++c) {
            const int col = region.col0 + c;
            if (!inside(row, col))
                continue;
            double v = params_.dark_current * seconds;
            if (light)
                v += params_.sky_background * seconds * transparency * vignette(col, sensor_row);
            out[static_cast<size_t>(r) * region.cols + c] = static_cast<float>(gain * v);
        }
    }
    for (const HotPixel& h : hot_) {
        if ((h.y & 1) != region.field)
            continue;
        const int row = h.y / 2, r = row - region.row0, c = h.x - region.col0;
        if (r >= 0 && r < region.rows && c >= 0 && c < region.cols && inside(row, h.x))
            out[static_cast<size_t>(r) * region.cols + c] += static_cast<float>(gain * params_.dark_current * h.factor * seconds);
    }
    if (!light || seconds == 0)
        return;

    // Stars: each sub-step adds its share of the light at the sky's position then.
    const double reach = 4 * sigma + 1;
    std::vector<double> wx, wy;
    for (int k = 0; k < steps; ++k) {
        const double share = seconds / steps * clear[k] * gain;
        if (share <= 0)
            continue;
        for (const SimStar& s : stars_) {
            const double x = s.x + offsets[k].x_px;
            const double y = s.y + 2 * offsets[k].y_rows;
            const int c_lo = std::max(region.col0, static_cast<int>(std::floor(x - reach)));
            const int c_hi = std::min(region.col0 + region.cols - 1, static_cast<int>(std::ceil(x + reach)));
            // Field rows whose sensor row 2r + field lies within reach of y.
            const int r_lo = std::max(region.row0, static_cast<int>(std::floor((y - reach - region.field) / 2)));
            const int r_hi = std::min(region.row0 + region.rows - 1, static_cast<int>(std::ceil((y + reach - region.field) / 2)));
            if (c_lo > c_hi || r_lo > r_hi)
                continue;
            const double flux = s.flux * share * vignette(x, y);
            wx.resize(c_hi - c_lo + 1);
            for (int c = c_lo; c <= c_hi; ++c)
                wx[c - c_lo] = band(c - 0.5, c + 0.5, x, sigma);
            wy.resize(r_hi - r_lo + 1);
            for (int r = r_lo; r <= r_hi; ++r) {
                const double sr = 2 * r + region.field;
                wy[r - r_lo] = band(sr - 0.5, sr + 0.5, y, sigma);
            }
            for (int r = r_lo; r <= r_hi; ++r) {
                if (r < 0 || r >= FIELD_ROWS)
                    continue;
                float* line = &out[static_cast<size_t>(r - region.row0) * region.cols];
                const double fy = flux * wy[r - r_lo];
                for (int c = std::max(c_lo, 0); c <= std::min(c_hi, COLUMNS - 1); ++c)
                    line[c - region.col0] += static_cast<float>(fy * wx[c - c_lo]);
            }
        }
    }
}
