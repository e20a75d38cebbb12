// The program on the simulated sky, mount and camera with a given simulator configuration, the
// truth log of the simulated mount, and the steps a user takes before guiding: take a picture,
// pick a star. The guiding scenarios measure the guiding from the simulator's own truth.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "files/settings_file.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"
#include "support/fixture.h"

struct TruthRow {
    double t_ms, x, y;
};

// Statistics of the star's true offset from where it was at a reference moment.
struct TruthStats {
    double rms_x = 0, rms_y = 0, max_dist = 0;
    int samples = 0;
};

class SkyRun : public ProgramTest {
protected:
    // Starts the program on a sky with the simulator keys CONFIG ("key = value" lines).
    void start(const std::string& config, uint64_t seed = 1)
    {
        config_path_ = temp_file("skyvane-sim-cfg", config);
        log_path_ = temp_file("skyvane-truth", "");
        options_.sim_config = config_path_;
        options_.sim_log = log_path_;
        options_.seed = seed;
        ProgramTest::SetUp();
    }
    void SetUp() override {}
    void TearDown() override
    {
        ProgramTest::TearDown();
        ::unlink(config_path_.c_str());
        ::unlink(log_path_.c_str());
    }

    // The settings a user sets in the defaults dialog, saved so the port check reads them back.
    void save_settings() { ASSERT_EQ(SaveINIFile(INI_FILE), 0); }

    // The brightest star of the current binned image whose peak stays below LIMIT, at least
    // MARGIN pixels inside and right of column MIN_X (binned coordinates); false when there is none.
    bool brightest_star(int margin, int& bx, int& by, int limit = 60000, int min_x = 0) const
    {
        std::vector<uint16_t> all(image_int, image_int + width1 * height1);
        std::nth_element(all.begin(), all.begin() + all.size() / 2, all.end());
        const int bg = all[all.size() / 2];
        int best = -1;
        for (int y = margin; y < height1 - margin; ++y)
            for (int x = std::max(margin, min_x); x < width1 - margin; ++x) {
                const int v = image_int[y * width1 + x];
                if (v <= best || v >= limit)
                    continue;
                // A local maximum whose four neighbours share its light: a star, not a hot pixel.
                bool star = true;
                for (int dy = -1; dy <= 1 && star; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (image_int[(y + dy) * width1 + x + dx] > v)
                            star = false;
                const int side[4] = {image_int[y * width1 + x - 1], image_int[y * width1 + x + 1],
                                     image_int[(y - 1) * width1 + x], image_int[(y + 1) * width1 + x]};
                for (int n : side)
                    if ((n - bg) * 10 < (v - bg) * 2)
                        star = false;
                if (star) {
                    best = v;
                    bx = x;
                    by = y;
                }
            }
        return best >= 0;
    }

    // A binned picture with the camera dialog's exposure, and a pick on its brightest star.
    void picture_and_pick(int limit = 60000, int min_x = 0)
    {
        run_script("command 9902");
        int bx = 0, by = 0;
        ASSERT_TRUE(brightest_star(50, bx, by, limit, min_x));
        run_script("command 21\nlclick " + std::to_string(bx) + " " + std::to_string(by) + "\ncommand 21");
        ASSERT_EQ(picked_star, 1);
    }

    // Time on the truth log's scale (ms since the log began).
    double log_time_ms() const { return clock_->now_us() / 1000.0 - log_start_ms_; }

    std::vector<TruthRow> truth() const
    {
        std::vector<TruthRow> rows;
        std::ifstream in(log_path_);
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            TruthRow r{};
            if (std::sscanf(line.c_str(), "%lf,%lf,%lf", &r.t_ms, &r.x, &r.y) == 3)
                rows.push_back(r);
        }
        return rows;
    }

    // The true offset at T_MS, interpolated between the rows around it.
    static TruthRow at(const std::vector<TruthRow>& rows, double t_ms)
    {
        for (size_t i = 1; i < rows.size(); ++i)
            if (rows[i].t_ms >= t_ms) {
                const TruthRow& a = rows[i - 1];
                const TruthRow& b = rows[i];
                const double f = b.t_ms > a.t_ms ? (t_ms - a.t_ms) / (b.t_ms - a.t_ms) : 1.0;
                return {t_ms, a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
            }
        return rows.empty() ? TruthRow{t_ms, 0, 0} : rows.back();
    }

    // Offsets from the position at REF_MS, sampled every second from FROM_MS to TO_MS.
    TruthStats stats(double ref_ms, double from_ms, double to_ms) const
    {
        const auto rows = truth();
        const TruthRow ref = at(rows, ref_ms);
        TruthStats s;
        double sx = 0, sy = 0;
        for (double t = from_ms; t <= to_ms; t += 1000.0) {
            const TruthRow r = at(rows, t);
            const double dx = r.x - ref.x, dy = r.y - ref.y;
            sx += dx * dx;
            sy += dy * dy;
            s.max_dist = std::max(s.max_dist, std::hypot(dx, dy));
            ++s.samples;
        }
        if (s.samples) {
            s.rms_x = std::sqrt(sx / s.samples);
            s.rms_y = std::sqrt(sy / s.samples);
        }
        return s;
    }

    // The numbers of "slewx = %5d, slewy = %5d\nbacklashx = %5d, backlashy = %5d" in the transcript.
    bool training_message(int& sx, int& sy, int& bx, int& by) const
    {
        const std::string t = transcript();
        const auto at = t.rfind("\"slewx = ");
        return at != std::string::npos &&
               std::sscanf(t.c_str() + at, "\"slewx = %d, slewy = %d\\nbacklashx = %d, backlashy = %d", &sx, &sy, &bx,
                           &by) == 4;
    }

    std::string config_path_, log_path_;
    double log_start_ms_ = 0;   // the clock starts at 0 when the log begins

private:
    static std::string temp_file(const char* stem, const std::string& text)
    {
        std::string name = std::string("/tmp/") + stem + "-XXXXXX";
        const int fd = ::mkstemp(name.data());
        if (fd >= 0) {
            if (!text.empty() && ::write(fd, text.data(), text.size()) < 0) {
            }
            ::close(fd);
        }
        return name;
    }
};
