#pragma once

#include <array>
#include <cstdint>

namespace pelvano {

// Colour arithmetic for the perceptual mode, in double precision: sRGB with the standard
// transfer curve, CIELAB under D65 and the CIEDE2000 colour difference.

// A CIELAB colour: L from 0 (black) to 100 (white), a green to red, b blue to yellow.
struct Lab {
    double L = 0;
    double a = 0;
    double b = 0;
};

// Light intensity per channel, 0..1 (not gamma encoded).
struct LinearRgb {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// An 8-bit sRGB component to linear light, 0..1.
double SrgbToLinear(std::uint8_t value);

// The same for every byte at once, for loops that decode many pixels.
const std::array<double, 256>& SrgbToLinearTable();

// Linear light to an sRGB component on the 0..255 scale, not rounded; values outside 0..1 are
// clamped to it.
double LinearToSrgb(double linear);

// The same rounded to the nearest 8-bit value.
std::uint8_t LinearToSrgb8(double linear);

Lab LinearRgbToLab(const LinearRgb& rgb);
Lab SrgbToLab(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// CIEDE2000 difference with kL = kC = kH = 1. Symmetric in its arguments.
double DeltaE2000(const Lab& x, const Lab& y);

} // namespace pelvano
