#include "render/raster_allocation.h"

#include <cstdint>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace pelvano {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this the ordinary allocation is as fast and wastes less.
constexpr std::size_t kHugePageThreshold = std::size_t{16} << 20;

void FreeRaster(void* data) {
    std::free(data);
}

} // namespace

QImage NewRaster(int width, int height) {
    const auto bytesPerLine = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const auto bytes = bytesPerLine * static_cast<std::size_t>(height);
#ifdef __linux__
    if (bytes >= kHugePageThreshold) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* data = std::aligned_alloc(kHugePage, rounded);
        if (data == nullptr) {
            return {};
        }
        madvise(data, rounded, MADV_HUGEPAGE); // a hint: failure only costs speed
        return QImage(static_cast<uchar*>(data), width, height,
                      static_cast<qsizetype>(bytesPerLine), QImage::Format_BGR888, FreeRaster,
                      data);
    }
#endif
    return QImage(width, height, QImage::Format_BGR888);
}

} // namespace pelvano
