// Double-precision atan2, sine and cosine for the route band's normals. The x87 fpatan
// and fsincos behind the C runtime's versions cost about 130 ns per segment, most of a
// 200-node frame; these give the same doubles to within an ulp or two in a fraction of
// that, so the floats built from them come out the same. Inline: passing these values
// through the i386 calling convention (x87 returns, structs on the stack) costs as much
// as computing them.
//
// The polynomials and range reductions are the classic fdlibm ones (Sun Microsystems,
// freely redistributable), kept to the arguments the route band needs.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

struct SineCosine {
    double sine, cosine;
};

namespace angle_math_detail {

// atan on [0, 7/16] and the four breakpoints atan(0.5), atan(1), atan(1.5), atan(inf),
// each as a double and its remainder.
constexpr double AtanHigh[] = {4.63647609000806093515e-01, 7.85398163397448278999e-01,
                               9.82793723247329054082e-01, 1.57079632679489655800e+00};
constexpr double AtanLow[] = {2.26987774529616870924e-17, 3.06161699786838301793e-17,
                              1.39033110312309984516e-17, 6.12323399573676603587e-17};
constexpr double AtanPoly[] = {3.33333333333329318027e-01,  -1.99999999998764832476e-01,
                               1.42857142725034663711e-01,  -1.11111104054623557880e-01,
                               9.09088713343650656196e-02,  -7.69187620504482999495e-02,
                               6.66107313738753120669e-02,  -5.83357013379057348645e-02,
                               4.97687799461593236017e-02,  -3.65315727442169155270e-02,
                               1.62858201153657823623e-02};
constexpr double Pi = 3.14159265358979311600e+00;
constexpr double PiLow = 1.2246467991473531772e-16;
constexpr double HalfPi = 1.57079632679489655800e+00;

// sin and cos on [-pi/4, pi/4]: x + y is the reduced argument with its tail.
constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
                 S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
                 S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03,
                 C3 = 2.48015872894767294178e-05, C4 = -2.75573143513906633035e-07,
                 C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;

// pi/2 in three parts: the first with its low bits clear, so that n * part is exact.
constexpr double InverseHalfPi = 6.36619772367581382433e-01;
constexpr double HalfPi1 = 1.57079632673412561417e+00, HalfPi1Tail = 6.07710050650619224932e-11;
constexpr double HalfPi2 = 6.07710050630396597660e-11, HalfPi2Tail = 2.02226624879595063154e-21;

// Outside these the C library takes over: no over- or underflow in the reduced argument,
// no loss of precision in the reduction of an angle.
constexpr double ScaleLimit = 1.0e150;
constexpr double ReducibleAngle = 1.0e5;

// atan(y / x) for y, x > 0, with the one division the reduced argument needs.
inline double AtanOfRatio(double y, double x) {
    int part;
    double t;
    if (y < 0.4375 * x) {
        part = -1;
        t = y / x;
    } else if (y < 1.1875 * x) {
        if (y < 0.6875 * x) {
            part = 0;
            t = (2.0 * y - x) / (2.0 * x + y);
        } else {
            part = 1;
            t = (y - x) / (y + x);
        }
    } else if (y < 2.4375 * x) {
        part = 2;
        t = (y - 1.5 * x) / (x + 1.5 * y);
    } else {
        part = 3;
        t = -x / y;
    }
    const double z = t * t, w = z * z;
    const double* a = AtanPoly;
    const double odd = z * (a[0] + w * (a[2] + w * (a[4] + w * (a[6] + w * (a[8] + w * a[10])))));
    const double even = w * (a[1] + w * (a[3] + w * (a[5] + w * (a[7] + w * a[9]))));
    if (part < 0) return t - t * (odd + even);
    return AtanHigh[part] - ((t * (odd + even) - AtanLow[part]) - t);
}

inline double SinKernel(double x, double y) {
    const double z = x * x, w = z * z;
    const double r = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
    const double v = z * x;
    return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

inline double CosKernel(double x, double y) {
    const double z = x * x, w = z * z;
    const double r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
    const double halfZ = 0.5 * z;
    const double oneLess = 1.0 - halfZ;
    return oneLess + (((1.0 - oneLess) - halfZ) + (z * r - x * y));
}

inline int BiasedExponent(double x) {
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return int(bits >> 52) & 0x7FF;
}

}  // namespace angle_math_detail

// atan2(y, x) in radians, in [-pi, pi], with the C library's signs for zeros.
inline double Atan2(double y, double x) {
    using namespace angle_math_detail;
    // Signs by comparison: std::fabs and std::copysign go through memory and the x87 here.
    const double ay = y < 0.0 ? -y : y, ax = x < 0.0 ? -x : x;
    // Screen distances never come near the ends of the range; the library takes those.
    if (!(ay < ScaleLimit && ax < ScaleLimit) || (ay < 1.0 / ScaleLimit && ax < 1.0 / ScaleLimit))
        return std::atan2(y, x);
    if (y == 0.0) return std::signbit(x) ? std::copysign(Pi, y) : y;
    if (x == 0.0) return y < 0.0 ? -HalfPi : HalfPi;
    const double z = AtanOfRatio(ay, ax);
    const double magnitude = x > 0.0 ? z : Pi - (z - PiLow);
    return y < 0.0 ? -magnitude : magnitude;
}

// sin and cos of angle, to about an ulp for |angle| below 1e5, by the C library beyond.
inline SineCosine SinCos(double angle) {
    using namespace angle_math_detail;
    if (!(angle < ReducibleAngle && angle > -ReducibleAngle))
        return {std::sin(angle), std::cos(angle)};
    // angle = n * pi/2 + (head + tail), |head| <= about pi/4.
    const int n = int(angle * InverseHalfPi + (angle < 0.0 ? -0.5 : 0.5));
    const double fn = double(n);
    double r = angle - fn * HalfPi1;  // exact
    double w = fn * HalfPi1Tail;
    double head = r - w;
    if (n != 0 && BiasedExponent(angle) - BiasedExponent(head) > 16) {
        // Near a multiple of pi/2 the first tail cancels too much: take the next part.
        const double t = r;
        w = fn * HalfPi2;
        r = t - w;
        w = fn * HalfPi2Tail - ((t - r) - w);
        head = r - w;
    }
    const double tail = (r - head) - w;
    const double s = SinKernel(head, tail), c = CosKernel(head, tail);
    switch (n & 3) {
        case 0: return {s, c};
        case 1: return {c, -s};
        case 2: return {-s, -c};
        default: return {-c, s};
    }
}

// sin and cos of angle + offset, the sum rounded to double as a plain addition rounds it,
// from those of angle and of offset: no second reduction and no second polynomial.
inline SineCosine SinCosOfSum(double angle, SineCosine ofAngle, double offset,
                              SineCosine ofOffset) {
    // Two-sum: error is exactly the exact sum less the rounded one.
    const double sum = angle + offset;
    const double offsetPart = sum - angle;
    const double error = (angle - (sum - offsetPart)) + (offset - offsetPart);
    const double s = ofAngle.sine * ofOffset.cosine + ofAngle.cosine * ofOffset.sine;
    const double c = ofAngle.cosine * ofOffset.cosine - ofAngle.sine * ofOffset.sine;
    // The rounded sum is x - e: sin(x - e) = sin x - e cos x, cos(x - e) = cos x + e sin x
    // for so small an e.
    return {s - error * c, c + error * s};
}
