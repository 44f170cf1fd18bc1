#include "engine/grid_budget.h"

#include <fstream>
#include <limits>
#include <sstream>
#include <unistd.h>

namespace pelvano {

std::uint64_t AvailableMemoryBytes() {
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        if (line.rfind("MemAvailable:", 0) == 0) {
            std::istringstream fields(line.substr(13));
            std::uint64_t kib = 0;
            if (fields >> kib) {
                return kib * 1024;
            }
        }
    }
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0) {
        return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    }
    return 0;
}

std::optional<std::string> GridSizeRefusal(std::int32_t columns, std::int32_t rows,
                                           std::uint64_t availableBytes) {
    if (columns <= 0 || rows <= 0) {
        return std::nullopt;
    }
    const std::uint64_t cells =
        static_cast<std::uint64_t>(columns) * static_cast<std::uint64_t>(rows);
    constexpr std::uint64_t kLargestArray = std::numeric_limits<std::int32_t>::max();
    const bool indexable = cells * sizeof(std::uint32_t) <= kLargestArray;
    const bool fits = availableBytes == 0 || cells * kGridBytesPerCell <= availableBytes / 2;
    if (indexable && fits) {
        return std::nullopt;
    }
    return "Схема слишком большая: " + std::to_string(columns) + " × " + std::to_string(rows) +
           " крестиков не помещаются в памяти. Уменьшите размер вышивки.";
}

} // namespace pelvano
