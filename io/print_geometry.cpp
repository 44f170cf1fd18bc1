#include "io/print_geometry.h"

#include <algorithm>
#include <cmath>

namespace pelvano {

namespace {

constexpr std::int32_t kMarginLeftTop = 10;
constexpr std::int32_t kMarginRightBottom = 20;

// Width over height of an A4 sheet, each way round. The choice of the side that fills the page
// is made against these whatever paper the printer holds.
constexpr Real kA4Landscape = 99.0L / 70.0L;
constexpr Real kA4Portrait = 70.0L / 99.0L;

// To the nearest integer, halves to the even neighbour (the default rounding mode).
std::int32_t RoundHalfEven(Real x) {
    return static_cast<std::int32_t>(std::nearbyint(x));
}

// Height fills the page: the right edge follows from the bottom edge. Both are used as
// coordinates from the page corner, not as sizes, so the rectangle is a touch off the exact
// proportions; printed patterns have always been placed this way.
PrintRect FitToHeight(Real aspect, std::int32_t pageWidth, std::int32_t pageHeight) {
    PrintRect r = KeyPrintRect(pageWidth, pageHeight);
    r.right = RoundHalfEven(static_cast<Real>(r.bottom) * aspect);
    return r;
}

PrintRect FitToWidth(Real aspect, std::int32_t pageWidth, std::int32_t pageHeight) {
    PrintRect r = KeyPrintRect(pageWidth, pageHeight);
    r.bottom = RoundHalfEven(static_cast<Real>(pageWidth - kMarginRightBottom) / aspect);
    return r;
}

bool InsidePage(const PrintRect& r, std::int32_t pageWidth, std::int32_t pageHeight) {
    return r.right <= pageWidth && r.bottom <= pageHeight;
}

} // namespace

PrintRect KeyPrintRect(std::int32_t pageWidth, std::int32_t pageHeight) {
    return {kMarginLeftTop, kMarginLeftTop, pageWidth - kMarginRightBottom,
            pageHeight - kMarginRightBottom};
}

bool PatternPrintsLandscape(Real aspect) {
    return aspect > 1.0L;
}

PrintRect PatternPrintRect(Real aspect, std::int32_t pageWidth, std::int32_t pageHeight) {
    const Real threshold = PatternPrintsLandscape(aspect) ? kA4Landscape : kA4Portrait;
    const bool tallerThanA4 = aspect <= threshold;
    PrintRect r = tallerThanA4 ? FitToHeight(aspect, pageWidth, pageHeight)
                               : FitToWidth(aspect, pageWidth, pageHeight);
    // Paper narrower or wider than A4 (Letter, a printer's odd margins) can make the chosen side
    // overshoot. Filling the other side then always fits: the overshoot means the pattern is
    // relatively wider (or taller) than the printable area.
    if (!InsidePage(r, pageWidth, pageHeight))
        r = tallerThanA4 ? FitToWidth(aspect, pageWidth, pageHeight)
                         : FitToHeight(aspect, pageWidth, pageHeight);
    // A pattern of one column and thousands of rows would round to no width at all, and a
    // rectangle turned inside out would mirror it.
    r.right = std::max(r.right, r.left + 1);
    r.bottom = std::max(r.bottom, r.top + 1);
    return r;
}

} // namespace pelvano
