// Draws the bundled sample picture: a flower in a meadow under an evening sky, 200 x 150 pixels,
// written as an uncompressed 24-bit Windows bitmap. Standard C++ only, so it builds anywhere:
//   g++ -std=c++20 -O2 make_sample.cpp -o make_sample && ./make_sample sample.bmp
// The output is the same on every run and machine (no randomness, no fonts).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Coverage of a soft-edged shape: 1 inside, 0 outside, a one-pixel ramp at the border so the
// resampled pattern gets real in-between shades.
double Edge(double signedDistance) {
    return std::clamp(0.5 - signedDistance, 0.0, 1.0);
}

Rgb Pixel(double x, double y) {
    // Evening sky: deep blue at the top through violet to orange at the horizon.
    const double horizon = 95;
    Rgb color = y < 45 ? Mix({30, 50, 140}, {120, 80, 170}, y / 45)
                       : Mix({120, 80, 170}, {250, 160, 70}, (y - 45) / (horizon - 45));

    // The sun, half behind the hills, with a glow.
    const double sunDistance = std::hypot(x - 150, y - 88);
    color = Mix(color, {255, 200, 120}, 0.5 * std::exp(-sunDistance / 18));
    color = Mix(color, {255, 235, 150}, Edge(sunDistance - 14));

    // Two rows of hills, the far one bluish, the near one green with a light-to-dark gradient.
    const double farHill = 88 + 8 * std::sin(x / 23.0) + 4 * std::sin(x / 7.0 + 1);
    color = Mix(color, Mix({90, 110, 150}, {70, 95, 120}, (y - farHill) / 20), Edge(farHill - y));
    const double nearHill = 100 + 6 * std::sin(x / 31.0 + 2);
    color = Mix(color, Mix({120, 190, 70}, {30, 95, 35}, (y - nearHill) / 50), Edge(nearHill - y));

    // Grass blades along the bottom.
    const double blade = 138 - 10 * std::abs(std::sin(x * 0.9)) * std::abs(std::cos(x * 0.37));
    color = Mix(color, {20, 70, 25}, Edge(blade - y));

    // The stem and a leaf.
    const double stemX = 62 + 3 * std::sin(y / 20.0);
    if (y > 70) {
        color = Mix(color, {40, 120, 40}, Edge(std::abs(x - stemX) - 1.6));
    }
    const double leafU = (x - 72) * std::cos(0.6) + (y - 112) * std::sin(0.6);
    const double leafV = -(x - 72) * std::sin(0.6) + (y - 112) * std::cos(0.6);
    const double leaf = std::hypot(leafU / 12, leafV / 4.5);
    color = Mix(color, Mix({90, 170, 60}, {35, 110, 40}, leafV / 4.5 + 0.5), Edge((leaf - 1) * 5));

    // Eight petals: pink tips shading to crimson at the centre.
    const double dx = x - 62;
    const double dy = y - 62;
    const double radius = std::hypot(dx, dy);
    const double angle = std::atan2(dy, dx);
    const double petalRadius = 26 * (0.55 + 0.45 * std::abs(std::cos(4 * angle)));
    color =
        Mix(color, Mix({200, 20, 70}, {255, 170, 200}, radius / 26), Edge(radius - petalRadius));

    // The centre: yellow to brown, speckled with seeds.
    const double seeds = 0.5 + 0.5 * std::sin(dx * 1.7) * std::sin(dy * 1.7);
    color =
        Mix(color, Mix(Mix({250, 210, 40}, {150, 80, 20}, radius / 9), {90, 50, 10}, seeds * 0.4),
            Edge(radius - 9));

    // A butterfly in two blues.
    const double bx = std::abs(x - 150);
    const double by = y - 40;
    const double wing = std::hypot((bx - 5) / 5, by / (by < 0 ? 6 : 4));
    color = Mix(color, Mix({60, 170, 255}, {20, 40, 160}, wing), Edge((wing - 1) * 4));
    color = Mix(color, {20, 20, 30}, Edge(bx - 0.8) * Edge(std::abs(by) - 5));
    return color;
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

} // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "sample.bmp";
    const std::uint32_t rowBytes = (kWidth * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = rowBytes * kHeight;

    std::vector<std::uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    PutLittleEndian(file, 54 + pixelBytes, 4); // file size
    PutLittleEndian(file, 0, 4);               // reserved
    PutLittleEndian(file, 54, 4);              // offset of the pixels
    PutLittleEndian(file, 40, 4);              // BITMAPINFOHEADER
    PutLittleEndian(file, kWidth, 4);
    PutLittleEndian(file, kHeight, 4); // positive: rows stored bottom-up
    PutLittleEndian(file, 1, 2);       // planes
    PutLittleEndian(file, 24, 2);      // bits per pixel
    PutLittleEndian(file, 0, 4);       // BI_RGB
    PutLittleEndian(file, pixelBytes, 4);
    PutLittleEndian(file, 2835, 4); // 72 dpi
    PutLittleEndian(file, 2835, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 0, 4);

    for (int row = kHeight - 1; row >= 0; --row) {
        for (int x = 0; x < kWidth; ++x) {
            // Four samples per pixel smooth the shapes' edges.
            Rgb sum{0, 0, 0};
            for (double sy : {0.25, 0.75}) {
                for (double sx : {0.25, 0.75}) {
                    const Rgb c = Pixel(x + sx, row + sy);
                    sum = {sum.r + c.r / 4, sum.g + c.g / 4, sum.b + c.b / 4};
                }
            }
            for (double channel : {sum.b, sum.g, sum.r}) {
                file.push_back(
                    static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0, 255.0))));
            }
        }
        for (std::uint32_t pad = kWidth * 3; pad < rowBytes; ++pad) {
            file.push_back(0);
        }
    }

    std::FILE* out = std::fopen(path, "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out)) {
        std::perror(path);
        return 1;
    }
    return 0;
}
