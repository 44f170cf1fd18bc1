#include "io/picture_limits.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

namespace pelvano {

namespace {

constexpr std::int64_t kMaxRasterBytes = std::int64_t{1} << 31;

// MemAvailable of /proc/meminfo: what can be allocated without swapping. Unknown elsewhere.
std::optional<std::int64_t> AvailableMemoryBytes() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::int64_t kib = 0;
    std::string unit;
    while (meminfo >> key >> kib) {
        std::getline(meminfo, unit);
        if (key == "MemAvailable:")
            return kib * 1024;
    }
    return std::nullopt;
}

} // namespace

PictureLimits DefaultPictureLimits() {
    PictureLimits limits;
    limits.maxRasterBytes = kMaxRasterBytes;
    if (const auto available = AvailableMemoryBytes(); available && *available > 0)
        limits.maxRasterBytes = std::min(limits.maxRasterBytes, *available);
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
