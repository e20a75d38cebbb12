// Times every stretch (table and apply), each filter, the median at radius 1 to 3, the histogram
// and the display refresh on the same full-frame and binned star fields, beside the nearest
// OpenCV operations, single-threaded; checks first that the outputs equal the plain reference
// loops, and ends with the ratios ours / OpenCV (medians of the repetitions, CPU time, which the
// other processes on a shared machine disturb less than the wall clock).
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "display/histogram.h"
#include "display/window_display.h"
#include "headless/headless_services.h"
#include "headless/script_session.h"
#include "headless/virtual_clock.h"
#include "images.h"
#include "platform/paths.h"
#include "platform/posix/posix_file_system.h"
#include "platform/services.h"
#include "processing/filter_kernels.h"
#include "processing/stretch.h"
#include "reference.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/planes.h"

namespace {
struct Frame {
    const char* name;
    int width, height;
    bool binned;
    std::vector<uint16_t> image;
};

Frame frames[2] = {{"full", FULL_WIDTH, FULL_HEIGHT, false, {}}, {"binned", BINNED_WIDTH, BINNED_HEIGHT, true, {}}};

cv::Mat as_mat(Frame& f) { return cv::Mat(f.height, f.width, CV_16U, f.image.data()); }

struct Conv { const char* name; int rad, masknum, divisor; };
const Conv convs[] = {
    {"highlow_3x3", 1, 2, 1}, {"highhigh_5x5", 2, 3, 1}, {"smoothsharp_5x5", 2, 4, 1},
    {"gaussian_5x5", 2, 1, 80}, {"lowpass_3x3", 1, 0, 16}, {"basrelief_5x5", 2, 5, 1},
};

cv::Mat kernel_mat(const Conv& c)
{
    const int side = 2 * c.rad + 1;
    cv::Mat k(side, side, CV_32F);
    for (int i = 0; i < side * side; ++i)
        k.at<float>(i / side, i % side) = static_cast<float>(mask[c.masknum][i]);
    return k;
}

struct Stretch { const char* name; void (*fill)(uint16_t*); };
void fill_normal(uint16_t* t) { normal_table(t, 10, 200); }
void fill_power(uint16_t* t) { power_table(t, 1.5); }
void fill_background(uint16_t* t) { background_table(t, 30); }
void fill_varnel(uint16_t* t) { varnel_table(t, 25); }
const Stretch stretches[] = {
    {"normal", fill_normal}, {"power", fill_power}, {"sine", sine_table}, {"background", fill_background},
    {"varnel", fill_varnel}, {"log", log_table}, {"antilog", antilog_table}, {"invert", invert_table},
};

// ------------------------------------------------------------------ exactness before timing

bool check_outputs()
{
    bool ok = true;
    auto expect = [&](bool same, const std::string& what) {
        if (!same) {
            std::fprintf(stderr, "MISMATCH with the reference: %s\n", what.c_str());
            ok = false;
        }
    };
    for (Frame& f : frames) {
        const std::string at = std::string(" on ") + f.name;
        for (const Conv& c : convs) {
            auto got = f.image;
            convolve_rows(f.image.data(), got.data(), f.width, c.rad, f.height - c.rad, c.rad, c.masknum, c.divisor);
            expect(got == reference::convolve(f.image, f.width, f.height, 0, c.rad, c.masknum, c.divisor), c.name + at);
        }
        auto got = f.image;
        for (int y = 3; y < f.height - 3; ++y)
            unsharp_row(f.image.data(), got.data(), f.width, y, 3, 1);
        expect(got == reference::unsharp(f.image, f.width, f.height, 0, 3, 1), "unsharp" + at);
        for (int r : {1, 2, 3}) {
            got = f.image;
            median_rows(f.image.data(), got.data(), f.width, f.height, 0, r, static_cast<float>(6 * 0.1));
            expect(got == reference::median(f.image, f.width, f.height, 0, r, 6), "median r" + std::to_string(r) + at);
        }
        got = f.image;
        auto want = f.image;
        gradient_core(got.data(), f.width, f.height, 0, f.binned);
        reference::gradient(want, f.width, f.height, 0, f.binned);
        expect(got == want, "gradient" + at);
        got = f.image;
        want = f.image;
        venetian_core(got.data(), f.image.data(), f.width, f.height, 0, true);
        reference::venetian(want, f.width, f.height, 0, true);
        expect(got == want, "vertical smoothing" + at);
    }
    return ok;
}

// ------------------------------------------------------------------ ours

void BM_stretch_table(benchmark::State& state, const Stretch* s)
{
    std::vector<uint16_t> t(STRETCH_ENTRIES);
    for (auto _ : state) {
        s->fill(t.data());
        benchmark::DoNotOptimize(t.data());
    }
}

void BM_stretch_apply(benchmark::State& state, Frame* f, const Stretch* s)
{
    std::vector<uint16_t> t(STRETCH_ENTRIES);
    s->fill(t.data());
    auto work = f->image;
    // In place, over and over: the cost of a lookup does not depend on the sample.
    for (auto _ : state) {
        apply_stretch(work.data(), 0, f->width * f->height, t.data());
        benchmark::DoNotOptimize(work.data());
    }
}

void BM_plane_copy(benchmark::State& state, Frame* f)
{
    auto work = f->image;
    for (auto _ : state) {
        std::memcpy(work.data(), f->image.data(), work.size() * 2);
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
}

void BM_conv(benchmark::State& state, Frame* f, const Conv* c)
{
    auto out = f->image;
    for (auto _ : state) {
        convolve_rows(f->image.data(), out.data(), f->width, c->rad, f->height - c->rad, c->rad, c->masknum, c->divisor);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_unsharp(benchmark::State& state, Frame* f)
{
    auto out = f->image;
    for (auto _ : state) {
        for (int y = 3; y < f->height - 3; ++y)
            unsharp_row(f->image.data(), out.data(), f->width, y, 3, 1);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_median(benchmark::State& state, Frame* f, int r)
{
    auto out = f->image;
    for (auto _ : state) {
        median_rows(f->image.data(), out.data(), f->width, f->height, 0, r, static_cast<float>(6 * 0.1));
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_median_straightforward(benchmark::State& state, Frame* f, int r)
{
    for (auto _ : state) {
        auto out = reference::median(f->image, f->width, f->height, 0, r, 6);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_gradient(benchmark::State& state, Frame* f)
{
    auto work = f->image;
    for (auto _ : state) {
        std::memcpy(work.data(), f->image.data(), work.size() * 2);
        gradient_core(work.data(), f->width, f->height, 0, f->binned);
        benchmark::DoNotOptimize(work.data());
    }
}

void BM_venetian(benchmark::State& state, Frame* f)
{
    auto out = f->image;
    for (auto _ : state) {
        venetian_core(out.data(), f->image.data(), f->width, f->height, 0, true);
        benchmark::DoNotOptimize(out.data());
    }
}

void use_geometry(const Frame& f)
{
    binned = f.binned ? 1 : 0;
    QV_binned();
    std::memcpy(image_int, f.image.data(), f.image.size() * 2);
    image.point_at(image_int);
}

void BM_build_histogram(benchmark::State& state, Frame* f)
{
    use_geometry(*f);
    for (auto _ : state) {
        build_histogram(image_int);
        benchmark::DoNotOptimize(most_pop);
    }
}

void BM_display_refresh(benchmark::State& state, Frame* f)
{
    use_geometry(*f);
    for (auto _ : state)
        image_prepare();
}

// ------------------------------------------------------------------ OpenCV

void BM_cv_copy(benchmark::State& state, Frame* f)
{
    cv::Mat src = as_mat(*f), dst;
    src.copyTo(dst);
    for (auto _ : state) {
        src.copyTo(dst);
        benchmark::DoNotOptimize(dst.data);
    }
}

void BM_cv_median(benchmark::State& state, Frame* f, int k)
{
    cv::Mat src = as_mat(*f), dst;
    for (auto _ : state) {
        cv::medianBlur(src, dst, k);
        benchmark::DoNotOptimize(dst.data);
    }
}

void BM_cv_filter2d(benchmark::State& state, Frame* f, const Conv* c)
{
    cv::Mat src = as_mat(*f), dst, k = kernel_mat(*c);
    for (auto _ : state) {
        cv::filter2D(src, dst, CV_32F, k);
        benchmark::DoNotOptimize(dst.data);
    }
}

void BM_cv_gaussian3(benchmark::State& state, Frame* f)
{
    cv::Mat src = as_mat(*f), dst;
    for (auto _ : state) {
        cv::GaussianBlur(src, dst, cv::Size(3, 3), 0);
        benchmark::DoNotOptimize(dst.data);
    }
}

void BM_cv_box7(benchmark::State& state, Frame* f)
{
    cv::Mat src = as_mat(*f), dst;
    for (auto _ : state) {
        cv::boxFilter(src, dst, CV_32F, cv::Size(7, 7));
        benchmark::DoNotOptimize(dst.data);
    }
}

// ------------------------------------------------------------------ ratios

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(::isatty(1) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            const bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            if (median || single)
                times[r.run_name.function_name] = r.GetAdjustedCPUTime() * multiplier(r.time_unit);
        }
    }
    static double multiplier(benchmark::TimeUnit u)
    {
        switch (u) {
        case benchmark::kNanosecond: return 1e-3;
        case benchmark::kMicrosecond: return 1.0;
        case benchmark::kMillisecond: return 1e3;
        case benchmark::kSecond: return 1e6;
        }
        return 1.0;
    }
    std::map<std::string, double> times;   // microseconds
};

void print_ratios(const RatioReporter& rep)
{
    struct Pair { std::string ours, theirs, target; };
    std::vector<Pair> pairs;
    for (const Frame& f : frames) {
        const std::string n = f.name;
        pairs.push_back({"median_r1/" + n, "cv_medianBlur_k3/" + n, "<= 1.5"});
        pairs.push_back({"median_r2/" + n, "cv_medianBlur_k5/" + n, "<= 1.5"});
        for (const Conv& c : convs)
            pairs.push_back({std::string(c.name) + "/" + n, "cv_filter2D_" + std::string(c.name) + "/" + n,
                             c.rad == 2 ? "<= 1.5" : ""});
        pairs.push_back({"lowpass_3x3/" + n, "cv_GaussianBlur_3x3/" + n, ""});
        pairs.push_back({"unsharp_r3/" + n, "cv_boxFilter_7x7/" + n, ""});
        for (const Stretch& s : stretches)
            pairs.push_back({"stretch_apply_" + std::string(s.name) + "/" + n, "plane_copy/" + n, "<= 3"});
        pairs.push_back({"plane_copy/" + n, "cv_copyTo/" + n, ""});
    }
    std::printf("\n%-34s %-34s %10s %10s %8s  %s\n", "ours", "against", "ours us", "their us", "ratio", "target");
    for (const Pair& p : pairs) {
        auto a = rep.times.find(p.ours), b = rep.times.find(p.theirs);
        if (a == rep.times.end() || b == rep.times.end())
            continue;
        std::printf("%-34s %-34s %10.1f %10.1f %8.2f  %s\n", p.ours.c_str(), p.theirs.c_str(), a->second, b->second,
                    a->second / b->second, p.target.c_str());
    }
    for (const Frame& f : frames) {
        const std::string n = f.name;
        auto a = rep.times.find("median_r3/" + n), b = rep.times.find("median_r3_straightforward/" + n);
        if (a != rep.times.end() && b != rep.times.end())
            std::printf("%-34s %-34s %10.1f %10.1f %8.1fx faster  (target >= 20x)\n", ("median_r3/" + n).c_str(),
                        ("median_r3_straightforward/" + n).c_str(), a->second, b->second, b->second / a->second);
    }
}

// A program on the headless services, for the display refresh.
struct HeadlessProgram {
    std::string root;
    std::ostringstream out;
    VirtualClock clock{1700000000};
    PosixFileSystem files;
    std::unique_ptr<Paths> paths;
    std::unique_ptr<ScriptSession> session;
    std::unique_ptr<HeadlessBoxes> boxes;
    std::unique_ptr<HeadlessPump> pump;
    std::unique_ptr<HeadlessDesktop> desktop;
    std::unique_ptr<HeadlessFrame> frame;
    std::unique_ptr<HeadlessDialogHost> dialogs;

    HeadlessProgram()
    {
        char pattern[] = "/tmp/skyvane-bench-XXXXXX";
        root = ::mkdtemp(pattern);
        paths = std::make_unique<Paths>(root, files);
        std::string error;
        session = std::make_unique<ScriptSession>(*parse_script("", error), clock, out);
        boxes = std::make_unique<HeadlessBoxes>(*session);
        pump = std::make_unique<HeadlessPump>(*session);
        desktop = std::make_unique<HeadlessDesktop>(*session);
        frame = std::make_unique<HeadlessFrame>(*session);
        dialogs = std::make_unique<HeadlessDialogHost>(*session);
        session->attach(frame.get(), desktop.get());
        Services& s = services();
        s.clock = &clock;
        s.pump = pump.get();
        s.boxes = boxes.get();
        s.desktop = desktop.get();
        s.dialogs = dialogs.get();
        s.files = &files;
        s.paths = paths.get();
        s.frame = frame.get();
        start_program();
    }
    ~HeadlessProgram()
    {
        services() = Services{};
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};
}

int main(int argc, char** argv)
{
    cv::setNumThreads(1);
    cv::setUseOptimized(true);
    HeadlessProgram program;
    frames[0].image = images::make(images::Kind::StarField, FULL_WIDTH, FULL_HEIGHT, 42);
    frames[1].image = images::make(images::Kind::StarField, BINNED_WIDTH, BINNED_HEIGHT, 43);
    std::printf("vector paths: %s\n", filter_kernels_vectorised() ? "AVX2" : "baseline");
    if (!check_outputs())
        return 1;
    std::printf("outputs equal the reference loops on both frames\n");

    for (Frame& f : frames) {
        const std::string n = std::string("/") + f.name;
        for (const Stretch& s : stretches)
            benchmark::RegisterBenchmark(("stretch_apply_" + std::string(s.name) + n).c_str(), BM_stretch_apply, &f, &s);
        benchmark::RegisterBenchmark(("plane_copy" + n).c_str(), BM_plane_copy, &f);
        benchmark::RegisterBenchmark(("cv_copyTo" + n).c_str(), BM_cv_copy, &f);
        for (const Conv& c : convs) {
            benchmark::RegisterBenchmark((std::string(c.name) + n).c_str(), BM_conv, &f, &c);
            benchmark::RegisterBenchmark(("cv_filter2D_" + std::string(c.name) + n).c_str(), BM_cv_filter2d, &f, &c);
        }
        benchmark::RegisterBenchmark(("cv_GaussianBlur_3x3" + n).c_str(), BM_cv_gaussian3, &f);
        benchmark::RegisterBenchmark(("unsharp_r3" + n).c_str(), BM_unsharp, &f);
        benchmark::RegisterBenchmark(("cv_boxFilter_7x7" + n).c_str(), BM_cv_box7, &f);
        for (int r : {1, 2, 3})
            benchmark::RegisterBenchmark(("median_r" + std::to_string(r) + n).c_str(), BM_median, &f, r);
        benchmark::RegisterBenchmark(("cv_medianBlur_k3" + n).c_str(), BM_cv_median, &f, 3);
        benchmark::RegisterBenchmark(("cv_medianBlur_k5" + n).c_str(), BM_cv_median, &f, 5);
        benchmark::RegisterBenchmark(("median_r3_straightforward" + n).c_str(), BM_median_straightforward, &f, 3)
            ->Unit(benchmark::kMillisecond)->Iterations(2);
        benchmark::RegisterBenchmark(("gradient" + n).c_str(), BM_gradient, &f);
        benchmark::RegisterBenchmark(("vertical_smoothing" + n).c_str(), BM_venetian, &f);
        benchmark::RegisterBenchmark(("build_histogram" + n).c_str(), BM_build_histogram, &f);
        benchmark::RegisterBenchmark(("display_refresh" + n).c_str(), BM_display_refresh, &f);
    }
    for (const Stretch& s : stretches)
        benchmark::RegisterBenchmark(("stretch_table_" + std::string(s.name)).c_str(), BM_stretch_table, &s);

    // Five repetitions by default; the ratios use their medians.
    std::vector<char*> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=5", aggregates = "--benchmark_report_aggregates_only=true";
    bool has_reps = false;
    for (int i = 1; i < argc; ++i)
        has_reps = has_reps || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!has_reps) {
        args.push_back(reps.data());
        args.push_back(aggregates.data());
    }
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_ratios(reporter);
    benchmark::Shutdown();
    return 0;
}
