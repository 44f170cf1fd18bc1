#include "render/raster_allocation.h"

#include <cstddef>
#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace pelvano {

namespace {

#if defined(__linux__) && defined(MADV_HUGEPAGE)

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kOwnMappingFrom = std::size_t{8} << 20;

struct Mapping {
    void* start;
    std::size_t length;
};

void Unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->start, mapping->length);
    delete mapping;
}

// The image's bytes in an anonymous mapping whose start is on a 2 MB boundary, so whole huge
// pages can back it; the slack before and after is given back at once.
QImage MappedRaster(int width, int height, qsizetype bytesPerLine, std::size_t bytes) {
    const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* region = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED)
        return {};
    const auto base = reinterpret_cast<std::uintptr_t>(region);
    const std::uintptr_t aligned = (base + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > base)
        munmap(region, aligned - base);
    if (const std::size_t tail = base + kHugePage - aligned; tail > 0)
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    auto* start = reinterpret_cast<uchar*>(aligned);
    madvise(start, length, MADV_HUGEPAGE); // only advice: plain pages do if it is not taken

    auto* mapping = new Mapping{start, length};
    QImage image(start, width, height, bytesPerLine, QImage::Format_BGR888, Unmap, mapping);
    if (image.isNull())
        Unmap(mapping);
    return image;
}

#endif

} // namespace

QImage NewBgrRaster(int width, int height) {
    if (width < 1 || height < 1)
        return {};
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const qsizetype bytesPerLine = (static_cast<qsizetype>(width) * 3 + 3) / 4 * 4;
    const auto bytes = static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height);
    if (bytes >= kOwnMappingFrom)
        return MappedRaster(width, height, bytesPerLine, bytes);
#endif
    return QImage(width, height, QImage::Format_BGR888);
}

} // namespace pelvano
