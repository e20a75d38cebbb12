#include "mount_model.h"

#include <algorithm>
#include <cmath>

#include "platform/clock.h"
#include "sim_config.h"

MountParams mount_params(const SimConfig& c)
{
    MountParams p;
    p.guide_rate_x = c.get("mount.guide_rate_x", p.guide_rate_x);
    p.guide_rate_y = c.get("mount.guide_rate_y", p.guide_rate_y);
    p.centre_factor = c.get("mount.centre_factor", p.centre_factor);
    p.find_factor = c.get("mount.find_factor", p.find_factor);
    p.slew_factor = c.get("mount.slew_factor", p.slew_factor);
    p.backlash_x = std::max(0.0, c.get("mount.backlash_x", p.backlash_x));
    p.backlash_y = std::max(0.0, c.get("mount.backlash_y", p.backlash_y));
    p.drift_x = c.get("mount.drift_x", p.drift_x);
    p.drift_y = c.get("mount.drift_y", p.drift_y);
    p.drift_y_reverse = std::max(0.0, c.get("mount.drift_y_reverse", p.drift_y_reverse));
    p.pe_amplitude = c.get("mount.pe_amplitude", p.pe_amplitude);
    p.pe_period = c.get("mount.pe_period", p.pe_period);
    p.flip_ew = c.get("mount.flip_ew", 0) != 0;
    p.flip_ns = c.get("mount.flip_ns", 0) != 0;
    p.focus_start = c.get("mount.focus_start", p.focus_start);
    p.focus_fast = c.get("mount.focus_fast", p.focus_fast);
    p.focus_slow = c.get("mount.focus_slow", p.focus_slow);
    p.goto_rate = c.get("mount.goto_rate", p.goto_rate);
    p.ra_hours = c.get("mount.ra_hours", p.ra_hours);
    p.dec_degrees = c.get("mount.dec_degrees", p.dec_degrees);
    p.cloud_start = c.get("sky.cloud_start", p.cloud_start);
    p.cloud_length = c.get("sky.cloud_length", p.cloud_length);
    p.cloud_every = c.get("sky.cloud_every", p.cloud_every);
    p.cloud_transparency = std::clamp(c.get("sky.cloud_transparency", p.cloud_transparency), 0.0, 1.0);
    if (p.pe_period <= 0.0)
        p.pe_period = 480.0;
    if (p.goto_rate <= 0.0)
        p.goto_rate = 4.0;
    return p;
}

MountModel::MountModel(const MountParams& params, Clock& clock)
    : p_(params), clock_(clock), t0_(clock.now_us())
{
    x_.backlash = p_.backlash_x;
    y_.backlash = p_.backlash_y;
}

MountModel::~MountModel()
{
    if (log_) {
        // The last moment: now, or the end of a move the line delivers later.
        const int64_t end = std::max(clock_.now_us(), log_last_);
        log_until(end);
        if (end > log_last_ || log_last_ == log_start_)
            log_row(end);
        std::fclose(log_);
    }
}

// Moving DISTANCE in direction SIGN first takes up the slack left by a reversal; only the rest
// moves the star. The slack is the gap between the gears: after a reversal it is as wide as the
// part of the gap the last direction had taken up, so a short move back and forth costs only its
// own length, and a reversal after a fully engaged move costs the whole backlash.
MountModel::AxisState MountModel::advance(AxisState s, double backlash, int sign, double distance)
{
    if (distance <= 0.0)
        return s;
    if (sign != s.side) {
        s.side = sign;
        s.taken = backlash - s.taken;
    }
    const double slack = std::max(0.0, backlash - s.taken);
    const double moved = std::max(0.0, distance - slack);
    s.taken = std::min(backlash, s.taken + distance);
    s.pos += sign * moved;
    return s;
}

MountModel::AxisState MountModel::Axis::state_at(int64_t t) const
{
    auto it = std::upper_bound(segments.begin(), segments.end(), t,
                               [](int64_t v, const Segment& s) { return v < s.start; });
    if (it == segments.begin())
        return AxisState{0.0, 1, backlash};   // engaged towards + at the start
    const Segment& s = *(it - 1);
    const int64_t until = std::min(t, s.end);
    return advance(s.at_start, backlash, s.sign, s.rate * double(until - s.start) / 1e6);
}

void MountModel::Axis::start(int64_t t, int sign, double rate)
{
    stop(t);
    if (!segments.empty() && t < segments.back().end)
        t = segments.back().end;   // events of one axis never go back in time
    Segment s;
    s.start = t;
    s.sign = sign;
    s.rate = rate;
    s.at_start = state_at(t);
    segments.push_back(s);
}

void MountModel::Axis::stop(int64_t t)
{
    if (!running())
        return;
    Segment& s = segments.back();
    s.end = std::max(t, s.start);
}

MountModel::Axis& MountModel::axis_of(char dir, int& sign)
{
    switch (dir) {
    case 'e': sign = p_.flip_ew ? -1 : 1; return x_;
    case 'w': sign = p_.flip_ew ? 1 : -1; return x_;
    case 'n': sign = p_.flip_ns ? -1 : 1; return y_;
    default: sign = p_.flip_ns ? 1 : -1; return y_;
    }
}

double MountModel::rate_of(MountAxis axis, MountRate rate) const
{
    const double base = axis == MountAxis::X ? p_.guide_rate_x : p_.guide_rate_y;
    switch (rate) {
    case MountRate::Centre: return base * p_.centre_factor;
    case MountRate::Find: return base * p_.find_factor;
    case MountRate::Slew: return base * p_.slew_factor;
    default: return base;
    }
}

void MountModel::start_move(char dir, MountRate rate, int64_t t_us)
{
    if (dir != 'n' && dir != 's' && dir != 'e' && dir != 'w')
        return;
    log_until(t_us);
    int sign = 1;
    Axis& a = axis_of(dir, sign);
    a.start(t_us, sign, rate_of(&a == &x_ ? MountAxis::X : MountAxis::Y, rate));
    log_row(t_us);
}

bool MountModel::moving(char dir) const
{
    int sign = 1;
    const Axis& a = const_cast<MountModel*>(this)->axis_of(dir, sign);
    return a.running() && a.segments.back().sign == sign;
}

void MountModel::stop_move(char dir, int64_t t_us)
{
    if ((dir != 'n' && dir != 's' && dir != 'e' && dir != 'w') || !moving(dir))
        return;
    log_until(t_us);
    int sign = 1;
    axis_of(dir, sign).stop(t_us);
    log_row(t_us);
}

void MountModel::stop_all(int64_t t_us)
{
    log_until(t_us);
    const bool any = x_.running() || y_.running();
    x_.stop(t_us);
    y_.stop(t_us);
    if (any)
        log_row(t_us);
}

void MountModel::start_focus(int dir, bool fast, int64_t t_us)
{
    focus_.start(t_us, dir < 0 ? -1 : 1, fast ? p_.focus_fast : p_.focus_slow);
}

void MountModel::stop_focus(int64_t t_us)
{
    focus_.stop(t_us);
}

void MountModel::slew_to(double ra_hours, double dec_degrees, int64_t t_us)
{
    double ra0 = 0, dec0 = 0;
    pointing(t_us, ra0, dec0);
    // A new slew replaces one still running from where the pointing is now.
    while (!slews_.empty() && slews_.back().start > t_us)
        slews_.pop_back();
    slews_.push_back({t_us, ra0, dec0, ra_hours, dec_degrees});
}

void MountModel::pointing(int64_t t_us, double& ra_hours, double& dec_degrees) const
{
    ra_hours = p_.ra_hours;
    dec_degrees = p_.dec_degrees;
    for (const Slew& s : slews_) {
        if (s.start > t_us)
            break;
        double dra = s.ra1 - s.ra0;   // the short way round
        if (dra > 12) dra -= 24;
        if (dra < -12) dra += 24;
        const double ddec = s.dec1 - s.dec0;
        const double seconds = std::max(std::fabs(dra) * 15.0, std::fabs(ddec)) / p_.goto_rate;
        const double done = seconds <= 0 ? 1.0 : std::min(1.0, double(t_us - s.start) / 1e6 / seconds);
        ra_hours = std::fmod(s.ra0 + dra * done + 24.0, 24.0);
        dec_degrees = s.dec0 + ddec * done;
    }
}

SkyOffset MountModel::raw_offset(int64_t t_us) const
{
    const double t = double(t_us - t0_) / 1e6;
    SkyOffset o;
    o.x_px = p_.drift_x * t + p_.pe_amplitude * std::sin(2.0 * M_PI * t / p_.pe_period) + x_.state_at(t_us).pos;
    // A Dec drift that reverses every P seconds runs back and forth: out for P, back for P.
    const double P = p_.drift_y_reverse;
    const double drift_time = P > 0 ? P - std::fabs(P - std::fmod(t, 2 * P)) : t;
    o.y_rows = p_.drift_y * drift_time + y_.state_at(t_us).pos;
    return o;
}

SkyOffset MountModel::offset_at(int64_t t_us)
{
    tick();
    return raw_offset(t_us);
}

double MountModel::focus_position(int64_t t_us)
{
    return p_.focus_start + focus_.state_at(t_us).pos;
}

double MountModel::transparency(int64_t t_us)
{
    if (p_.cloud_start < 0 || p_.cloud_length <= 0)
        return 1.0;
    double t = double(t_us - t0_) / 1e6 - p_.cloud_start;
    if (t < 0)
        return 1.0;
    if (p_.cloud_every > 0)
        t = std::fmod(t, p_.cloud_every);
    return t < p_.cloud_length ? p_.cloud_transparency : 1.0;
}

bool MountModel::start_log(const std::string& path)
{
    if (log_)
        std::fclose(log_);
    log_ = std::fopen(path.c_str(), "w");
    if (!log_)
        return false;
    std::fputs("t_ms,x_px,y_px\n", log_);
    log_start_ = log_last_ = clock_.now_us();
    log_origin_ = raw_offset(log_start_);
    log_next_ = log_start_;
    log_until(log_start_);
    return true;
}

void MountModel::tick()
{
    log_until(clock_.now_us());
}

void MountModel::log_row(int64_t t_us)
{
    if (!log_)
        return;
    t_us = std::max(t_us, log_last_);   // rows stay in time order
    log_last_ = t_us;
    const SkyOffset o = raw_offset(t_us);
    std::fprintf(log_, "%.3f,%.4f,%.4f\n", double(t_us - log_start_) / 1000.0, o.x_px - log_origin_.x_px,
                 o.y_rows - log_origin_.y_rows);
    std::fflush(log_);
}

void MountModel::log_until(int64_t t_us)
{
    if (!log_)
        return;
    while (log_next_ <= t_us) {
        log_row(log_next_);
        log_next_ += 1000000;
    }
}
