#pragma once

#include "engine/pattern_data.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>

namespace pelvano {

// A 24-bit picture as the engine reads it: three bytes per pixel in the order blue, green, red,
// row 0 at the top, `stride` bytes from the start of one row to the next.
struct RasterView {
    const std::uint8_t* data = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0;
};

struct GenerationRequest {
    RasterView picture;
    std::int32_t columnCount = 0;
    std::int32_t rowCount = 0;
    std::string shadeLimitText; // the limit field's text, parsed at every run
    bool limitShades = true;
    std::int32_t windowState = 0; // 0 no picture, 1 picture opened, 2 pattern generated

    // Optional modes; both off give the plain run. `perceptual`: cells are averaged in linear
    // light (the exact grid shows those averages), matched by CIEDE2000 and limited with
    // PerceptualMergeRule. `cleanConfetti`: after limiting, lone stitches take a neighbour's
    // thread (RemoveConfetti); the shade count, label and used colours follow the cleaned grid.
    bool perceptual = false;
    bool cleanConfetti = false;
};

// A run that did not start; nothing was changed. `message` is the exact text to show.
struct GenerationRefusal {
    std::string message;
};

struct GenerationResult {
    PatternData pattern;
    std::string shadeLabel;     // "Оттенков: S (из M)"
    bool tooManyShades = false; // more shades than symbols: show `kTooManyShadesWarning`
};

inline constexpr const char* kTooManyShadesWarning =
    "Оттенков больше, чем значков.\n\rРекомендую ограничить число оттенков до 120.";

using GenerationOutcome = std::variant<GenerationRefusal, GenerationResult>;

// Called after each sampled column, in column order, always from the calling thread;
// `columnsDone` runs from 1 to columnCount.
using ColumnProgress = std::function<void(std::int32_t columnsDone)>;

GenerationOutcome RunGeneration(const GenerationRequest& request,
                                const ColumnProgress& progress = {});

} // namespace pelvano
