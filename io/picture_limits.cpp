#include "io/picture_limits.h"

#include "engine/grid_budget.h"

#include <algorithm>
#include <limits>

namespace pelvano {

namespace {

constexpr std::int64_t kMaxRasterBytes = std::int64_t{1} << 31;

} // namespace

PictureLimits DefaultPictureLimits() {
    PictureLimits limits;
    limits.maxRasterBytes = kMaxRasterBytes;
    // 0 means the system did not say; the fixed cap then stands alone.
    if (const std::uint64_t available = AvailableMemoryBytes(); available > 0) {
        limits.maxRasterBytes = static_cast<std::int64_t>(
            std::min<std::uint64_t>(static_cast<std::uint64_t>(limits.maxRasterBytes), available));
    }
    return limits;
}

std::int64_t RasterBytes(std::int64_t width, std::int64_t height) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    if (width < 1 || height < 1 || width > (kMax - 3) / 3)
        return -1;
    const std::int64_t rowBytes = (width * 3 + 3) / 4 * 4;
    if (height > kMax / rowBytes)
        return -1;
    return rowBytes * height;
}

QString CheckPictureSize(std::int64_t width, std::int64_t height, const PictureLimits& limits) {
    const std::int64_t bytes = RasterBytes(width, height);
    if (bytes < 0 || bytes > limits.maxRasterBytes)
        return QStringLiteral("Picture is too large: %1 × %2 pixels").arg(width).arg(height);
    return {};
}

QString OutOfMemoryMessage(std::int64_t width, std::int64_t height) {
    return QStringLiteral("Not enough memory for a picture of %1 × %2 pixels")
        .arg(width)
        .arg(height);
}

} // namespace pelvano
