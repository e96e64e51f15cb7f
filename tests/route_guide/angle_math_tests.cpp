// The route band's own atan2 and sine/cosine against the C library's, and the band's
// half-width offsets built from either: the floats must come out the same.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <limits>
#include <random>

#include "route_guide/angle_math.h"

namespace {

// Distance in units in the last place, across zero too (Bits: the same-sized integer).
template <class Bits, class Real>
Bits Ulps(Real a, Real b) {
    static_assert(sizeof(Bits) == sizeof(Real));
    Bits ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    if (ia < 0) ia = std::numeric_limits<Bits>::min() - ia;
    if (ib < 0) ib = std::numeric_limits<Bits>::min() - ib;
    return ia > ib ? ia - ib : ib - ia;
}
int64_t Ulps(double a, double b) { return Ulps<int64_t>(a, b); }
int32_t Ulps(float a, float b) { return Ulps<int32_t>(a, b); }

constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(AngleMath, Atan2AgreesWithTheCLibraryInEveryQuadrant) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> exponent(-60.0, 60.0);
    std::bernoulli_distribution negative(0.5);
    int64_t worst = 0;
    for (int i = 0; i < 200000; ++i) {
        const double y = std::exp2(exponent(random)) * (negative(random) ? -1 : 1);
        const double x = std::exp2(exponent(random)) * (negative(random) ? -1 : 1);
        worst = std::max(worst, Ulps(Atan2(y, x), std::atan2(y, x)));
    }
    EXPECT_LE(worst, 1);
}

TEST(AngleMath, Atan2OfAxesZerosAndInfinities) {
    const double cases[][2] = {{0.0, 1.0},   {-0.0, 1.0},  {0.0, -1.0}, {-0.0, -1.0},
                               {0.0, 0.0},   {-0.0, 0.0},  {0.0, -0.0}, {-0.0, -0.0},
                               {1.0, 0.0},   {-1.0, 0.0},  {1.0, 1.0},  {-1.0, -1.0},
                               {1.0, -1.0},  {Inf, 1.0},   {1.0, -Inf}, {-Inf, Inf},
                               {1e-300, -1e300}, {1e300, 1e-300}, {3.0, -1e-9}};
    for (const auto& c : cases) {
        const double got = Atan2(c[0], c[1]), expected = std::atan2(c[0], c[1]);
        EXPECT_LE(Ulps(got, expected), 1) << c[0] << ", " << c[1];
        EXPECT_EQ(std::signbit(got), std::signbit(expected)) << c[0] << ", " << c[1];
    }
    EXPECT_TRUE(std::isnan(Atan2(std::nan(""), 1.0)));
}

// The C library's x87 sine and cosine reduce with a 66-bit pi: near their zeros they are
// right only to about 2^-64 times the angle, not to an ulp.
bool AgreesWithLibrary(double got, double library, double angle) {
    const double ulp = std::nextafter(std::fabs(library), Inf) - std::fabs(library);
    return std::fabs(got - library) <= 2.0 * ulp + std::fabs(angle) * 0x1p-63;
}

TEST(AngleMath, SinCosAgreesWithTheCLibrary) {
    std::mt19937 random(6);
    std::uniform_real_distribution<double> angle(-4.8, 4.8);
    std::uniform_real_distribution<double> nudge(-1e-6, 1e-6);
    for (int i = 0; i < 200000; ++i) {
        // Every fourth angle close to a multiple of pi/2, where the reduction is hardest.
        const double x = i % 4 ? angle(random) : (i % 7 - 3) * 1.5707963267948966 + nudge(random);
        const SineCosine got = SinCos(x);
        ASSERT_TRUE(AgreesWithLibrary(got.sine, std::sin(x), x)) << x;
        ASSERT_TRUE(AgreesWithLibrary(got.cosine, std::cos(x), x)) << x;
    }
    for (double x : {0.0, -0.0, 1.5707963, -1.5707963, 3.1415926, 4.7123889, 1e6, -3e7}) {
        EXPECT_TRUE(AgreesWithLibrary(SinCos(x).sine, std::sin(x), x)) << x;
        EXPECT_TRUE(AgreesWithLibrary(SinCos(x).cosine, std::cos(x), x)) << x;
    }
    EXPECT_TRUE(std::signbit(SinCos(-0.0).sine));
}

TEST(AngleMath, SinCosOfASumIsThatOfTheRoundedSum) {
    std::mt19937 random(8);
    std::uniform_real_distribution<double> angle(-3.2, 3.2);
    for (int i = 0; i < 200000; ++i) {
        const double x = angle(random);
        const double offset = i % 2 ? 1.5707963 : -1.5707963;
        const SineCosine got = SinCosOfSum(x, SinCos(x), offset, SinCos(offset));
        const double sum = x + offset;
        ASSERT_TRUE(AgreesWithLibrary(got.sine, std::sin(sum), sum)) << x;
        ASSERT_TRUE(AgreesWithLibrary(got.cosine, std::cos(sum), sum)) << x;
    }
}

// The band's half-width offsets: the normals at the direction (rounded to a float) less and
// plus the quarter turn, each product with the half width rounded to a float.
struct Offsets {
    float u1x, u1y, u2x, u2y;
};
constexpr double QuarterTurn = 1.5707963;

Offsets OwnOffsets(float ax, float ay, float bx, float by, float half) {
    const double direction = float(Atan2(double(by) - double(ay), double(bx) - double(ax)));
    const SineCosine along = SinCos(direction);
    const SineCosine n1 = SinCosOfSum(direction, along, -QuarterTurn, SinCos(-QuarterTurn));
    const SineCosine n2 = SinCosOfSum(direction, along, QuarterTurn, SinCos(QuarterTurn));
    return {float(n1.cosine * half), float(n1.sine * half), float(n2.cosine * half),
            float(n2.sine * half)};
}

Offsets LibraryOffsets(float ax, float ay, float bx, float by, float half) {
    const double direction = float(std::atan2(double(by) - double(ay), double(bx) - double(ax)));
    const double n1 = direction - QuarterTurn, n2 = direction + QuarterTurn;
    return {float(std::cos(n1) * half), float(std::sin(n1) * half), float(std::cos(n2) * half),
            float(std::sin(n2) * half)};
}

TEST(AngleMath, BandOffsetsAreTheFloatsTheCLibraryGives) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-200.0f, 900.0f);
    std::uniform_real_distribution<float> small(-1e-3f, 1e-3f);
    int differing = 0;
    int32_t worst = 0;
    constexpr int Segments = 200000;
    for (int i = 0; i < Segments; ++i) {
        float ax = coordinate(random), ay = coordinate(random);
        float bx = coordinate(random), by = coordinate(random);
        // Nearly and exactly level, upright and empty segments among them.
        switch (i % 8) {
            case 0: by = ay; break;
            case 1: bx = ax; break;
            case 2: by = ay + small(random); break;
            case 3: bx = ax + small(random); break;
            case 4: bx = ax; by = ay; break;
            default: break;
        }
        const float half = i % 3 ? 2.0f : 0.5f + float(i % 11);
        const Offsets own = OwnOffsets(ax, ay, bx, by, half);
        const Offsets lib = LibraryOffsets(ax, ay, bx, by, half);
        const int32_t ulps = std::max({Ulps(own.u1x, lib.u1x), Ulps(own.u1y, lib.u1y),
                                       Ulps(own.u2x, lib.u2x), Ulps(own.u2y, lib.u2y)});
        differing += ulps != 0;
        worst = std::max(worst, ulps);
    }
    EXPECT_LE(worst, 1);
    EXPECT_LE(differing, Segments / 10000) << "segments whose offsets differ";
    std::printf("band offsets differing by an ulp: %d of %d segments\n", differing, Segments);
}

}  // namespace
