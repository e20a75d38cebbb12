#include "sim_camera.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "sim/sim_config.h"
#include "sim/sky_motion.h"

namespace {
constexpr int ERROR_FILE_NOT_FOUND = 2, ERROR_INVALID_HANDLE = 6;

struct Geometry { int lines, samples, first_line, first_sample; };
constexpr Geometry BINNED{298, 416, 6, 14}, FULL{298, 832, 8, 26};
constexpr int WINDOW = 128;
}

SimCamera::SimCamera(const SimConfig& config, Clock& clock, std::shared_ptr<SkyMotion> sky, uint64_t seed)
    : clock_(clock), sky_(sky ? std::move(sky) : std::make_shared<StillSky>()),
      field_(CameraSkyParams::from(config), seed), seed_(seed)
{
    times_.binned_ms = static_cast<int>(config.get("transfer_binned_ms", times_.binned_ms));
    times_.field_ms = static_cast<int>(config.get("transfer_field_ms", times_.field_ms));
    times_.window_ms = static_cast<int>(config.get("transfer_window_ms", times_.window_ms));
    field_start_[0] = field_start_[1] = clock_.now_us();
}

void SimCamera::note(const std::string& text)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.3f s: ", clock_.now_us() / 1e6);
    log_.push_back(stamp + text);
    std::fprintf(stderr, "simulated camera: %s\n", log_.back().c_str());
}

SimCamera::Kind SimCamera::kind_of(UsbHandle h) const
{
    for (const auto& [handle, kind] : open_)
        if (handle == h)
            return kind;
    return None;
}

bool SimCamera::list(UsbClass cls, std::vector<UsbInterfaceEntry>& out)
{
    out.clear();
    out.push_back({cls == UsbClass::Hid ? HID_PATH : BLOCK_PATH, true});
    return true;
}

UsbHandle SimCamera::open(const std::string& path)
{
    Kind kind = path == HID_PATH ? Hid : path == BLOCK_PATH ? Block : None;
    if (kind == None) {
        error_ = ERROR_FILE_NOT_FOUND;
        return 0;
    }
    const UsbHandle h = next_handle_;
    next_handle_ += 4;
    open_.emplace_back(h, kind);
    return h;
}

void SimCamera::close(UsbHandle h)
{
    std::erase_if(open_, [h](const auto& entry) { return entry.first == h; });
}

bool SimCamera::attributes(UsbHandle h, uint16_t& vid, uint16_t& pid)
{
    if (kind_of(h) == None)
        return false;
    vid = VENDOR;
    pid = PRODUCT;
    return true;
}

bool SimCamera::manufacturer(UsbHandle h, std::u16string& text)
{
    if (kind_of(h) == None)
        return false;
    text = u"Halvoran";
    return true;
}

bool SimCamera::product(UsbHandle h, std::u16string& text)
{
    const Kind kind = kind_of(h);
    if (kind == None)
        return false;
    text = kind == Hid ? u"QV9 Camera" : u"QV9 BlockIO";
    return true;
}

bool SimCamera::write_report(UsbHandle h, const uint8_t* data, uint32_t length, uint32_t& written)
{
    written = 0;
    if (kind_of(h) != Hid) {
        error_ = ERROR_INVALID_HANDLE;
        return false;
    }
    clock_.spend(times_.report_ms);
    written = length;
    if (length != 9 || data[0] != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "ignored a report of %u bytes with report id %d", length,
                      length ? data[0] : -1);
        note(text);
        return true;
    }
    if (recording_) {
        Command c {clock_.now_us(), {}};
        std::memcpy(c.packet, data + 1, 8);
        commands_.push_back(c);
    }
    command(data + 1);
    return true;
}

bool SimCamera::read_report(UsbHandle h, uint8_t*, uint32_t, uint32_t& returned)
{
    // The camera sends no input reports.
    returned = 0;
    error_ = kind_of(h) == Hid ? TIMEOUT_ERROR : ERROR_INVALID_HANDLE;
    return false;
}

void SimCamera::command(const uint8_t* p)
{
    const int64_t now = clock_.now_us();
    if (p[0] == 4) {
        prepare_block(p);
        return;
    }
    if (p[0] != 2 || p[1] < 1 || p[1] > 5) {
        char text[64];
        std::snprintf(text, sizeof text, "unknown command %d, %d", p[0], p[1]);
        note(text);
        return;
    }
    switch (p[1]) {
    case 1:   // wipe: both fields start afresh, the register is emptied
        field_start_[0] = field_start_[1] = now;
        register_.reset();
        break;
    case 2:   // clear the vertical registers
        register_.reset();
        break;
    case 3:
    case 5:   // field E into the register
        register_ = Register{0, field_start_[0], now};
        field_start_[0] = now;
        break;
    case 4:   // field O into the register
        register_ = Register{1, field_start_[1], now};
        field_start_[1] = now;
        break;
    }
}

void SimCamera::prepare_block(const uint8_t* p)
{
    const int mode = p[7];
    if (mode > 2) {
        char text[48];
        std::snprintf(text, sizeof text, "unknown readout mode %d", mode);
        note(text);
        pending_.reset();
        return;
    }
    int row0 = 0, col0 = 0;
    if (mode == 1) {
        if ((p[3] + p[4]) % 256 != 235 || (p[5] + p[6]) % 256 != 250) {
            char text[80];
            std::snprintf(text, sizeof text, "window bytes %d, %d, %d, %d do not pair up", p[3], p[4], p[5], p[6]);
            note(text);
        }
        // Row parameter: the window's field row is focus_y, moved down by focus_y mod 10 as the
        // guiding expects; the column parameter counts in steps of three from column -24.
        const int focus_y = ((p[3] + 55) & 0xff) - 64;
        row0 = focus_y + (focus_y >= 0 ? focus_y % 10 : 0);
        col0 = 3 * p[5] - 24;
    }
    // With a time in bytes 1-2 the camera times the exposure itself.
    const int t_ms = p[1] + 256 * p[2];
    if (t_ms > 0) {
        const int64_t extra = static_cast<int64_t>(t_ms) * 1000;
        if (register_) {
            register_->t1_us += extra;
        } else {
            const int64_t now = clock_.now_us();
            register_ = Register{0, field_start_[0], now + extra};
            field_start_[0] = now + extra;
        }
        clock_.spend(t_ms);
    }
    pending_ = Pending{mode, register_, row0, col0};
    register_.reset();
}

void SimCamera::render(std::vector<uint8_t>& block)
{
    const Pending& job = *pending_;
    const CameraSkyParams& p = field_.params();
    SimRandom rng(seed_ * 0x9e3779b97f4a7c15ull + ++readouts_);
    const double per_e = 1.0 / std::max(0.01, p.electrons_per_adu);
    auto sample = [&](double mu) {
        const double v = p.bias + mu + std::sqrt(std::max(0.0, mu) * per_e + p.read_noise * p.read_noise) * rng.normal();
        return static_cast<uint16_t>(std::clamp(std::lround(v), 0L, 65535L));
    };

    FieldRegion region;
    int lines, samples, first_line = 0, first_sample = 0;
    if (job.mode == 1) {
        lines = samples = WINDOW;
        region.row0 = job.row0;
        region.rows = WINDOW;
        region.col0 = job.col0;
        region.cols = WINDOW;
    } else {
        const Geometry& g = job.mode == 0 ? BINNED : FULL;
        lines = g.lines;
        samples = g.samples;
        first_line = g.first_line;
        first_sample = g.first_sample;
    }
    std::vector<float> signal;
    if (job.reg) {
        region.field = job.reg->field;
        field_.expected_signal(region, job.reg->t0_us, job.reg->t1_us, *sky_, signal);
    }
    last_ = Delivery{job.mode, job.reg ? job.reg->field : -1, job.reg ? job.reg->t0_us : 0,
                     job.reg ? job.reg->t1_us : 0, region.row0, region.col0};

    block.assign(static_cast<size_t>(lines) * samples * 2, 0);
    for (int line = 0; line < lines; ++line)
        for (int s = 0; s < samples; ++s) {
            double mu = 0;
            if (!signal.empty()) {
                const int r = line - first_line, c = s - first_sample;
                if (job.mode == 1)
                    mu = signal[static_cast<size_t>(line) * WINDOW + s];
                else if (r >= 0 && r < SkyField::FIELD_ROWS) {
                    if (job.mode == 0 && c >= 0 && c < SkyField::COLUMNS / 2)
                        mu = signal[static_cast<size_t>(r) * SkyField::COLUMNS + 2 * c] +
                             signal[static_cast<size_t>(r) * SkyField::COLUMNS + 2 * c + 1];
                    else if (job.mode == 2 && c >= 0 && c < SkyField::COLUMNS)
                        mu = signal[static_cast<size_t>(r) * SkyField::COLUMNS + c];
                }
            }
            const uint16_t v = sample(mu);
            const size_t at = (static_cast<size_t>(line) * samples + s) * 2;
            block[at] = static_cast<uint8_t>(v & 0xff);
            block[at + 1] = static_cast<uint8_t>(v >> 8);
        }
}

bool SimCamera::read_block(UsbHandle h, uint8_t* data, uint32_t length, uint32_t& returned, int timeout_ms)
{
    returned = 0;
    if (kind_of(h) != Block) {
        error_ = ERROR_INVALID_HANDLE;
        return false;
    }
    if (!pending_) {
        // Nothing was asked for: the read waits for its time-out.
        clock_.spend(timeout_ms);
        error_ = TIMEOUT_ERROR;
        return false;
    }
    render(block_);
    const int mode = pending_->mode;
    pending_.reset();
    clock_.spend(mode == 0 ? times_.binned_ms : mode == 2 ? times_.field_ms : times_.window_ms);
    returned = static_cast<uint32_t>(std::min<size_t>(length, block_.size()));
    std::memcpy(data, block_.data(), returned);
    if (returned < length) {
        clock_.spend(timeout_ms);
        error_ = TIMEOUT_ERROR;
        return false;
    }
    return true;
}
