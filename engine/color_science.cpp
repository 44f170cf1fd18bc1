#include "engine/color_science.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace pelvano {

namespace {

// sRGB primaries to XYZ under D65. The white point is taken as the sum of each row, so that
// sRGB white comes out at exactly L = 100, a = b = 0.
constexpr double kToXyz[3][3] = {{0.4124564, 0.3575761, 0.1804375},
                                 {0.2126729, 0.7151522, 0.0721750},
                                 {0.0193339, 0.1191920, 0.9503041}};
constexpr double kWhite[3] = {kToXyz[0][0] + kToXyz[0][1] + kToXyz[0][2],
                              kToXyz[1][0] + kToXyz[1][1] + kToXyz[1][2],
                              kToXyz[2][0] + kToXyz[2][1] + kToXyz[2][2]};

double LabCurve(double t) {
    constexpr double kDelta = 6.0 / 29.0;
    if (t > kDelta * kDelta * kDelta) {
        return std::cbrt(t);
    }
    return t / (3 * kDelta * kDelta) + 4.0 / 29.0;
}

double DecodeComponent(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr double kRadians = std::numbers::pi / 180.0;

// Hue angle in degrees, 0..360; a colour without chroma has hue 0.
double HueDegrees(double b, double a) {
    if (a == 0 && b == 0) {
        return 0;
    }
    const double h = std::atan2(b, a) * kDegrees;
    return h < 0 ? h + 360 : h;
}

double Pow7(double x) {
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

} // namespace

const std::array<double, 256>& SrgbToLinearTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int v = 0; v < 256; ++v) {
            t[static_cast<std::size_t>(v)] = DecodeComponent(v);
        }
        return t;
    }();
    return table;
}

double SrgbToLinear(std::uint8_t value) {
    return SrgbToLinearTable()[value];
}

double LinearToSrgb(double linear) {
    const double l = std::clamp(linear, 0.0, 1.0);
    const double c = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
    return c * 255;
}

std::uint8_t LinearToSrgb8(double linear) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(LinearToSrgb(linear)), 0L, 255L));
}

Lab LinearRgbToLab(const LinearRgb& rgb) {
    double f[3];
    for (int k = 0; k < 3; ++k) {
        const double v =
            kToXyz[k][0] * rgb.red + kToXyz[k][1] * rgb.green + kToXyz[k][2] * rgb.blue;
        f[k] = LabCurve(v / kWhite[k]);
    }
    return Lab{116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

Lab SrgbToLab(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return LinearRgbToLab(LinearRgb{SrgbToLinear(red), SrgbToLinear(green), SrgbToLinear(blue)});
}

double DeltaE2000(const Lab& x, const Lab& y) {
    constexpr double k25To7 = 6103515625.0; // 25^7
    const double c1 = std::hypot(x.a, x.b);
    const double c2 = std::hypot(y.a, y.b);
    const double cMean7 = Pow7((c1 + c2) / 2);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + k25To7)));
    const double a1 = (1 + g) * x.a;
    const double a2 = (1 + g) * y.a;
    const double c1p = std::hypot(a1, x.b);
    const double c2p = std::hypot(a2, y.b);
    const double h1 = HueDegrees(x.b, a1);
    const double h2 = HueDegrees(y.b, a2);

    const double dL = y.L - x.L;
    const double dC = c2p - c1p;
    const double chromaProduct = c1p * c2p;
    double dh = 0;
    double hMean = h1 + h2;
    if (chromaProduct != 0) {
        dh = h2 - h1;
        if (dh > 180) {
            dh -= 360;
        } else if (dh < -180) {
            dh += 360;
        }
        if (std::abs(h1 - h2) <= 180) {
            hMean = (h1 + h2) / 2;
        } else if (h1 + h2 < 360) {
            hMean = (h1 + h2 + 360) / 2;
        } else {
            hMean = (h1 + h2 - 360) / 2;
        }
    }
    const double dH = 2 * std::sqrt(chromaProduct) * std::sin(dh / 2 * kRadians);

    const double lMean = (x.L + y.L) / 2;
    const double cMeanP = (c1p + c2p) / 2;
    const double t =
        1 - 0.17 * std::cos((hMean - 30) * kRadians) + 0.24 * std::cos(2 * hMean * kRadians) +
        0.32 * std::cos((3 * hMean + 6) * kRadians) - 0.20 * std::cos((4 * hMean - 63) * kRadians);
    const double lOff2 = (lMean - 50) * (lMean - 50);
    const double sL = 1 + 0.015 * lOff2 / std::sqrt(20 + lOff2);
    const double sC = 1 + 0.045 * cMeanP;
    const double sH = 1 + 0.015 * cMeanP * t;
    const double hOff = (hMean - 275) / 25;
    const double dTheta = 30 * std::exp(-hOff * hOff);
    const double cMeanP7 = Pow7(cMeanP);
    const double rC = 2 * std::sqrt(cMeanP7 / (cMeanP7 + k25To7));
    const double rT = -std::sin(2 * dTheta * kRadians) * rC;

    const double l = dL / sL;
    const double c = dC / sC;
    const double h = dH / sH;
    return std::sqrt(l * l + c * c + h * h + rT * c * h);
}

} // namespace pelvano
