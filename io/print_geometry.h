#pragma once

#include "engine/real.h"

#include <cstdint>

namespace pelvano {

// Where a picture goes on the printed page, in device pixels measured from the top-left corner
// of the printable area; right and bottom are excluded.
struct PrintRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const PrintRect&, const PrintRect&) = default;
};

// The whole printable area less a margin of 10 pixels at the left and top and 20 at the right
// and bottom. The key is stretched over it, whatever its proportions.
PrintRect KeyPrintRect(std::int32_t pageWidth, std::int32_t pageHeight);

// A pattern wider than high goes on a landscape page; a square one stays portrait.
bool PatternPrintsLandscape(Real aspect);

// The pattern's rectangle for `aspect` (its width over its height) on a page of the given
// printable size, already turned the way PatternPrintsLandscape says. Which side fills the page
// is decided against A4 proportions; when paper of other proportions would let that side push
// the pattern off the printable area, the other side fills it instead. Never empty.
PrintRect PatternPrintRect(Real aspect, std::int32_t pageWidth, std::int32_t pageHeight);

} // namespace pelvano
