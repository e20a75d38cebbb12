#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "headless/virtual_clock.h"
#include "sim/mount_model.h"
#include "sim/sim_config.h"

namespace {
constexpr int64_t S = 1000000;   // one second in microseconds

TEST(MountModel, DecBacklashTakesUpSlackAfterEachReversal)
{
    VirtualClock clock(0);
    MountParams p;
    p.guide_rate_y = 1.0;
    p.backlash_y = 0.5;
    MountModel m(p, clock);
    // Table: direction, seconds of guide rate, expected y afterwards.
    struct Step { char dir; double seconds; double y; };
    const Step steps[] = {
        {'n', 2.0, 2.0},    // engaged northwards from the start
        {'s', 0.4, 2.0},    // within the slack: the star stays
        {'s', 0.6, 1.5},    // 0.1 of slack left, then 0.5 of motion
        {'s', 1.0, 0.5},
        {'n', 1.0, 1.0},    // reversal again costs 0.5
        {'s', 0.2, 1.0},    // 0.2 into the gap ...
        {'n', 0.3, 1.1},    // ... costs only 0.2 on the way back
    };
    int64_t t = 0;
    for (const Step& s : steps) {
        m.start_move(s.dir, MountRate::Guide, t);
        t += static_cast<int64_t>(s.seconds * S);
        m.stop_move(s.dir, t);
        EXPECT_NEAR(m.offset_at(t).y_rows, s.y, 1e-9) << s.dir << " " << s.seconds;
    }
    // An earlier moment is still answered from the record of the moves.
    EXPECT_NEAR(m.offset_at(1 * S).y_rows, 1.0, 1e-9);
    EXPECT_NEAR(m.offset_at(2 * S + S / 5).y_rows, 2.0, 1e-9);
    // No RA backlash by default: east after west moves at once.
    m.start_move('w', MountRate::Guide, t);
    m.stop_move('w', t + S);
    m.start_move('e', MountRate::Guide, t + S);
    m.stop_move('e', t + S + S / 2);
    EXPECT_NEAR(m.offset_at(t + 2 * S).x_px, -p.guide_rate_x * 0.5, 1e-9);
}

TEST(MountModel, DriftPeriodicErrorAndClouds)
{
    SimConfig c;
    std::string error;
    ASSERT_TRUE(c.parse("mount.drift_x = 0.1\nmount.drift_y = -0.05\nmount.pe_amplitude = 3\nmount.pe_period = 400\n"
                        "sky.cloud_start = 100\nsky.cloud_length = 20\nsky.cloud_every = 300\nsky.cloud_transparency = 0.2\n",
                        error)) << error;
    VirtualClock clock(0);
    MountModel m(mount_params(c), clock);
    const SkyOffset at100 = m.offset_at(100 * S);
    EXPECT_NEAR(at100.x_px, 10.0 + 3.0 * std::sin(2 * M_PI * 100 / 400), 1e-9);   // a quarter period: +3
    EXPECT_NEAR(at100.y_rows, -5.0, 1e-9);
    EXPECT_DOUBLE_EQ(m.transparency(99 * S), 1.0);
    EXPECT_DOUBLE_EQ(m.transparency(100 * S), 0.2);
    EXPECT_DOUBLE_EQ(m.transparency(119 * S), 0.2);
    EXPECT_DOUBLE_EQ(m.transparency(121 * S), 1.0);
    EXPECT_DOUBLE_EQ(m.transparency(410 * S), 0.2);   // the next cloud, 300 s later
    EXPECT_DOUBLE_EQ(MountModel(MountParams{}, clock).transparency(500 * S), 1.0);
}

TEST(MountModel, ConfigKeysReachTheParameters)
{
    SimConfig c;
    std::string error;
    ASSERT_TRUE(c.parse("mount.guide_rate_x = 3.5\nmount.backlash_y = 4\nmount.flip_ew = 1\nmount.focus_start = 250\n"
                        "mount.ra_hours = 6\nmount.dec_degrees = -20\n", error));
    const MountParams p = mount_params(c);
    EXPECT_DOUBLE_EQ(p.guide_rate_x, 3.5);
    EXPECT_DOUBLE_EQ(p.backlash_y, 4.0);
    EXPECT_TRUE(p.flip_ew);
    EXPECT_FALSE(p.flip_ns);
    VirtualClock clock(0);
    MountModel m(p, clock);
    EXPECT_DOUBLE_EQ(m.focus_position(0), 250.0);
    double ra = 0, dec = 0;
    m.pointing(0, ra, dec);
    EXPECT_DOUBLE_EQ(ra, 6.0);
    EXPECT_DOUBLE_EQ(dec, -20.0);
    m.slew_to(7.0, -5.0, S);   // 15 degrees at 4 degrees a second
    m.pointing(S + S * 15 / 8, ra, dec);
    EXPECT_NEAR(ra, 6.5, 1e-9);
    EXPECT_NEAR(dec, -12.5, 1e-9);
    m.pointing(10 * S, ra, dec);
    EXPECT_NEAR(ra, 7.0, 1e-9);
}

TEST(MountModel, TruthLogHasARowEverySecondAndAtEveryMove)
{
    char name[] = "/tmp/skyvane-simlog-XXXXXX";
    const int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    {
        VirtualClock clock(0);
        clock.spend(5000);   // the log starts later than the simulation
        MountParams p;
        p.drift_x = 1.0;
        MountModel m(p, clock);
        ASSERT_TRUE(m.start_log(name));
        clock.spend(1500);
        m.start_move('e', MountRate::Guide, clock.now_us());
        clock.spend(250);
        m.stop_move('e', clock.now_us());
        clock.spend(1000);
        m.tick();
    }
    std::ifstream in(name);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(in, line))
        rows.push_back(line);
    ::unlink(name);
    const std::vector<std::string> expected = {
        "t_ms,x_px,y_px",
        "0.000,0.0000,0.0000",
        "1000.000,1.0000,0.0000",
        "1500.000,1.5000,0.0000",      // the move starts
        "1750.000,2.2500,0.0000",      // and ends: 0.25 s of drift and 0.5 px of guiding
        "2000.000,2.5000,0.0000",
        "2750.000,3.2500,0.0000",      // the last moment, when the model goes
    };
    EXPECT_EQ(rows, expected);
}
}

namespace {
TEST(MountModel, DecDriftThatReversesRunsOutAndBack)
{
    SimConfig c;
    std::string error;
    ASSERT_TRUE(c.parse("mount.drift_y = 0.025\nmount.drift_y_reverse = 300\n", error)) << error;
    VirtualClock clock(0);
    MountModel m(mount_params(c), clock);
    // Table: seconds, expected rows.
    const double cases[][2] = {{0, 0}, {100, 2.5}, {300, 7.5}, {450, 3.75}, {600, 0}, {750, 3.75}, {900, 7.5}};
    for (const auto& cs : cases)
        EXPECT_NEAR(m.offset_at(static_cast<int64_t>(cs[0]) * S).y_rows, cs[1], 1e-9) << cs[0];
}
}
