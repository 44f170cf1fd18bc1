#include "render/raster_budget.h"

#include "render/render_error.h"

#include <climits>
#include <string>

namespace pelvano {

namespace {

// QImage keeps width * depth in an int and the size in a qsizetype.
constexpr std::int64_t kMaxRasterWidth = (INT_MAX - 31) / 24;
constexpr std::int64_t kMaxRasterHeight = INT_MAX;

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + (1u << 20) - 1) >> 20);
}

std::string SizeText(PixelSize size) {
    return std::to_string(size.width) + " × " + std::to_string(size.height);
}

} // namespace

std::uint64_t RasterBytes(PixelSize size) {
    if (size.width <= 0 || size.height <= 0) {
        return 0;
    }
    const auto bytesPerLine = (static_cast<std::uint64_t>(size.width) * 3 + 3) / 4 * 4;
    return bytesPerLine * static_cast<std::uint64_t>(size.height);
}

void CheckRastersFit(std::initializer_list<PixelSize> sizes, std::uint64_t budgetBytes) {
    std::uint64_t total = 0;
    PixelSize largest;
    for (const PixelSize& size : sizes) {
        if (size.width > kMaxRasterWidth || size.height > kMaxRasterHeight) {
            throw RenderError("Схема слишком велика: изображение " + SizeText(size) +
                              " точек больше наибольшего возможного. Уменьшите число "
                              "столбцов или строк.");
        }
        total += RasterBytes(size);
        if (RasterBytes(size) > RasterBytes(largest)) {
            largest = size;
        }
    }
    if (total > budgetBytes) {
        throw RenderError("Схема слишком велика: для изображения " + SizeText(largest) +
                          " точек нужно " + Megabytes(total) + " МБ памяти, а доступно " +
                          Megabytes(budgetBytes) + " МБ. Уменьшите число столбцов или строк.");
    }
}

} // namespace pelvano
