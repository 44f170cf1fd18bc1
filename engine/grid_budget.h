#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelvano {

// Bytes a generation run allocates per cell: the exact grid's three bytes and the pattern
// grid's four. Everything else a run keeps grows with the columns or rows, not the cells.
inline constexpr std::uint64_t kGridBytesPerCell = 3 + 4;

// Memory the system can still give us: MemAvailable where the kernel reports it, otherwise the
// physical memory; 0 when neither can be read.
std::uint64_t AvailableMemoryBytes();

// Why a grid of this shape cannot be built, or nothing when it can. A grid is refused when a
// byte count of one of its arrays would not fit a signed 32-bit integer (the drawing code
// indexes with those), or when its arrays would take more than half of `availableBytes`: the
// caller still holds the previous pattern while the new one is built, and drawing needs room
// after it. An `availableBytes` of 0 means unknown and skips the memory test.
std::optional<std::string> GridSizeRefusal(std::int32_t columns, std::int32_t rows,
                                           std::uint64_t availableBytes);

} // namespace pelvano
