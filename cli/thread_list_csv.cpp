#include "cli/thread_list_csv.h"

#include <unordered_map>
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

std::string ThreadListCsv(const PatternData& pattern) {
    // Counted from the final grid: after shade limiting the sampling's usage counters no longer
    // match what is stitched.
    std::unordered_map<std::uint32_t, std::size_t> position;
    for (std::size_t i = 0; i < pattern.usedColors.size(); ++i) {
        position.emplace(pattern.usedColors[i], i);
    }
    std::vector<std::int64_t> crosses(pattern.usedColors.size(), 0);
    for (std::uint32_t color : pattern.patternGrid) {
        if (auto found = position.find(color); found != position.end()) {
            ++crosses[found->second];
        }
    }

    const ThreadTable& palette = ThreadPalette();
    std::string csv = "symbol,name,red,green,blue,crosses\r\n";
    for (std::size_t i = 0; i < pattern.usedColors.size(); ++i) {
        const std::uint32_t color = pattern.usedColors[i];
        const int thread = ThreadIndexOfColor(color);
        const std::string_view name = thread > 0 ? palette[thread].Name : std::string_view{};
        csv += std::to_string(i) + ',' + Quoted(name) + ',' + std::to_string(color & 0xFF) + ',' +
               std::to_string((color >> 8) & 0xFF) + ',' + std::to_string((color >> 16) & 0xFF) +
               ',' + std::to_string(crosses[i]) + "\r\n";
    }
    return csv;
}

} // namespace pelvano
