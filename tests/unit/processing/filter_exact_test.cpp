// The program's filter arithmetic against the plain reference loops, sample for sample, on
// random, flat, saturated and star-field images in both geometries, with and without the
// header rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "images.h"
#include "processing/filter_kernels.h"
#include "processing/stretch.h"
#include "reference.h"

namespace {
struct Geometry {
    int width, height;
    bool binned;
};

const Geometry geometries[] = {{376, 290, true}, {752, 580, false}};
const images::Kind kinds[] = {images::Kind::Random, images::Kind::Flat, images::Kind::Saturated,
                              images::Kind::StarField};

// Index and values of the first differing sample, for a readable failure.
std::string first_difference(const std::vector<uint16_t>& want, const std::vector<uint16_t>& got, int width)
{
    for (size_t i = 0; i < want.size(); ++i)
        if (want[i] != got[i])
            return "row " + std::to_string(i / width) + " column " + std::to_string(i % width) + ": want " +
                   std::to_string(want[i]) + ", got " + std::to_string(got[i]);
    return "";
}

// Every kind of image in both geometries, and the header rows kept on a star field.
template <class Body>
void for_each_image(Body body)
{
    unsigned seed = 7;
    for (const Geometry& g : geometries) {
        for (images::Kind kind : kinds)
            body(g, kind, 0, images::make(kind, g.width, g.height, seed++));
        body(g, images::Kind::StarField, 10, images::make(images::Kind::StarField, g.width, g.height, seed++));
    }
}

// RUN on a copy of IMAGE, on the vector path and on the baseline path, each compared with WANT.
template <class Run>
void expect_both_paths(const std::vector<uint16_t>& want, const std::vector<uint16_t>& image, int width,
                       const std::string& what, Run run)
{
    for (bool vector_path : {true, false}) {
        set_filter_vector_path(vector_path);
        auto got = image;
        run(got);
        set_filter_vector_path(true);
        ASSERT_EQ(want, got) << what << (vector_path ? " (vector)" : " (baseline)") << ": "
                             << first_difference(want, got, width);
    }
}
}

TEST(FilterExact, ConvolutionsMatchReference)
{
    struct Case { int rad, masknum, divisor; };
    const Case cases[] = {{1, 2, 1}, {2, 3, 1}, {2, 4, 1}, {2, 1, 80}, {1, 0, 16}, {2, 5, 1}};
    for_each_image([&](const Geometry& g, images::Kind kind, int st, const std::vector<uint16_t>& image) {
        for (const Case& c : cases) {
            const auto want = reference::convolve(image, g.width, g.height, st, c.rad, c.masknum, c.divisor);
            expect_both_paths(want, image, g.width,
                              images::name(kind) + " " + std::to_string(g.width) + " st " + std::to_string(st) +
                                  " kernel " + std::to_string(c.masknum),
                              [&](std::vector<uint16_t>& got) {
                                  convolve_rows(image.data(), got.data(), g.width, st + c.rad, g.height - c.rad,
                                                c.rad, c.masknum, c.divisor);
                              });
        }
    });
}

TEST(FilterExact, UnsharpMatchesReference)
{
    for_each_image([&](const Geometry& g, images::Kind kind, int st, const std::vector<uint16_t>& image) {
        for (int r : {1, 3, 7})
            for (uint32_t k : {1u, 4u, 7u, 40000u}) {
                const auto want = reference::unsharp(image, g.width, g.height, st, r, k);
                expect_both_paths(want, image, g.width,
                                  images::name(kind) + " r " + std::to_string(r) + " k " + std::to_string(k),
                                  [&](std::vector<uint16_t>& got) {
                                      for (int y = st + r; y < g.height - r; ++y)
                                          unsharp_row(image.data(), got.data(), g.width, y, r, k);
                                  });
            }
    });
}

TEST(FilterExact, MedianMatchesReference)
{
    for_each_image([&](const Geometry& g, images::Kind kind, int st, const std::vector<uint16_t>& image) {
        // Radius and power (tenths); the slow 7 x 7 reference runs on fewer images.
        struct Case { int r; uint32_t black; };
        std::vector<Case> cases = {{1, 6}, {2, 6}};
        if (g.binned) {
            cases.insert(cases.end(), {{1, 1}, {1, 10}, {2, 3}, {2, 10}});
            if (kind != images::Kind::Flat) cases.push_back({3, 6});
        } else if (st == 10) {
            cases.push_back({3, 4});
        }
        for (const Case& c : cases) {
            const auto want = reference::median(image, g.width, g.height, st, c.r, c.black);
            expect_both_paths(want, image, g.width,
                              images::name(kind) + " " + std::to_string(g.width) + " r " + std::to_string(c.r) +
                                  " power " + std::to_string(c.black),
                              [&](std::vector<uint16_t>& got) {
                                  median_rows(image.data(), got.data(), g.width, g.height, st, c.r,
                                              static_cast<float>(c.black * 0.1));
                              });
        }
    });
}

TEST(FilterExact, MedianOnNarrowImagesTakesThePlainPath)
{
    // Too narrow for the vector blocks: the pixel-by-pixel path gives the same result.
    const auto image = images::make(images::Kind::StarField, 20, 30, 3);
    for (int r : {1, 2, 3}) {
        const auto want = reference::median(image, 20, 30, 0, r, 2);
        auto got = image;
        median_rows(image.data(), got.data(), 20, 30, 0, r, static_cast<float>(2 * 0.1));
        EXPECT_EQ(want, got) << "r " << r;
    }
}

TEST(FilterExact, GradientAndVerticalSmoothingMatchReference)
{
    for_each_image([&](const Geometry& g, images::Kind kind, int st, const std::vector<uint16_t>& image) {
        auto want = image, got = image;
        reference::gradient(want, g.width, g.height, st, g.binned);
        gradient_core(got.data(), g.width, g.height, st, g.binned);
        ASSERT_EQ(want, got) << "gradient " << images::name(kind) << " " << g.width << " st " << st;
        for (bool down : {true, false}) {
            auto want_v = image, got_v = image;
            reference::venetian(want_v, g.width, g.height, st, down);
            const auto u = image;
            venetian_core(got_v.data(), u.data(), g.width, g.height, st, down);
            ASSERT_EQ(want_v, got_v) << "venetian " << images::name(kind) << " down " << down;
        }
    });
}

TEST(FilterExact, StretchApplyIsOneLookupPerSample)
{
    std::vector<uint16_t> log(STRETCH_ENTRIES), normal(STRETCH_ENTRIES);
    log_table(log.data());
    normal_table(normal.data(), 3, 250);
    for_each_image([&](const Geometry& g, images::Kind kind, int st, const std::vector<uint16_t>& image) {
        for (const auto* t : {&log, &normal}) {
            // An odd start and end exercise the partial blocks.
            const int begin = st * g.width + 3, end = g.width * g.height - 5;
            auto want = image;
            for (int i = begin; i < end; ++i)
                want[i] = static_cast<uint16_t>(2 * (*t)[image[i] >> 1]);
            expect_both_paths(want, image, g.width, "stretch on " + images::name(kind),
                              [&](std::vector<uint16_t>& got) { apply_stretch(got.data(), begin, end, t->data()); });
        }
    });
}
