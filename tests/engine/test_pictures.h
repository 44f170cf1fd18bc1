#pragma once

#include "engine/generation.h"

#include <cstdint>
#include <random>
#include <vector>

namespace pelvano::testing {

// A 24-bit picture owned by the test, rows padded to four bytes like a bitmap's.
struct TestPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0;
    std::vector<std::uint8_t> bytes;

    TestPicture(std::int32_t w, std::int32_t h)
        : width(w), height(h), stride((w * 3 + 3) / 4 * 4),
          bytes(static_cast<std::size_t>(stride) * h, 0) {}

    void Set(std::int32_t x, std::int32_t y, int r, int g, int b) {
        std::uint8_t* p = &bytes[static_cast<std::size_t>(y * stride + x * 3)];
        p[0] = static_cast<std::uint8_t>(b);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(r);
    }
    void SetColor(std::int32_t x, std::int32_t y, std::uint32_t color) {
        Set(x, y, color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    }
    void Fill(int r, int g, int b) {
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                Set(x, y, r, g, b);
            }
        }
    }
    void FillNoise(std::uint32_t seed) {
        std::mt19937 random(seed);
        for (auto& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
    }
    RasterView View() const { return RasterView{bytes.data(), width, height, stride}; }
};

inline GenerationRequest RequestFor(const TestPicture& picture, std::int32_t columns,
                                    std::int32_t rows, const char* limit = "30",
                                    bool limitShades = true) {
    GenerationRequest request;
    request.picture = picture.View();
    request.columnCount = columns;
    request.rowCount = rows;
    request.shadeLimitText = limit;
    request.limitShades = limitShades;
    request.windowState = 1;
    return request;
}

} // namespace pelvano::testing
