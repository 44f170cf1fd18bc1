#include "cli/thread_list_csv.h"

#include "engine/thread_amount.h"

#include <cstdio>
#include <vector>

namespace pelvano {
namespace {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

} // namespace

std::string ThreadListCsv(const PatternData& pattern, const ThreadNeeds& needs,
                          std::string_view comment) {
    const std::vector<std::int64_t> crosses = CrossesInKeyOrder(pattern);
    const ThreadTable& palette = ThreadPalette();
    std::string csv;
    if (!comment.empty()) {
        csv += "# ";
        csv += comment;
        csv += "\r\n";
    }
    csv += "symbol,name,red,green,blue,crosses,metres,skeins\r\n";
    for (std::size_t i = 0; i < pattern.usedColors.size(); ++i) {
        const std::uint32_t color = pattern.usedColors[i];
        const int thread = ThreadIndexOfColor(color);
        const std::string_view name = thread > 0 ? palette[thread].Name : std::string_view{};
        const ThreadAmount amount =
            ThreadForCrosses(crosses[i], needs.crossWidthMm, needs.crossHeightMm, needs.strands);
        char metres[32];
        std::snprintf(metres, sizeof metres, "%.1Lf", amount.metres);
        csv += std::to_string(i) + ',' + Quoted(name) + ',' + std::to_string(color & 0xFF) + ',' +
               std::to_string((color >> 8) & 0xFF) + ',' + std::to_string((color >> 16) & 0xFF) +
               ',' + std::to_string(crosses[i]) + ',' + metres + ',' +
               std::to_string(amount.skeins) + "\r\n";
    }
    return csv;
}

} // namespace pelvano
