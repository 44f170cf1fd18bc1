#pragma once

#include "engine/pattern_data.h"

#include <QPageSize>
#include <QString>
#include <stdexcept>

class QIODevice;

namespace pelvano {

// A chart to stitch from, as one PDF: a cover with a colour preview and a page map, the pattern
// over as many pages as its size needs with every symbol as text, and the key with the thread
// each colour takes.

struct ChartSettings {
    QPageSize::PageSizeId paper = QPageSize::A4;
    double cellMm = 3;   // distance between cell centres on paper, 2 to 6
    int strands = 0;     // strands stitched together; 0 chooses by the cross size
    bool colour = false; // cells in their threads' colours instead of white
};

// What the chart says about the pattern besides its grid.
struct ChartSubject {
    QString title; // the picture's file name
    double crossWidthMm = 1.7;
    double crossHeightMm = 1.7;
};

// One symbol stands for one thread: a chart has room for this many threads.
inline constexpr int kMaxChartThreads = 120;

class ChartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Empty when the pattern can be charted; otherwise the message (Russian) saying why not.
QString ChartRefusal(const PatternData& pattern);

// The strands the key counts with: the settings' own, or 2, or 3 for coarse fabric.
int ChartStrands(const ChartSettings& settings, const ChartSubject& subject);

// Writes the chart to `device`, which must be open for writing. Throws ChartError.
void WriteChart(QIODevice& device, const PatternData& pattern, const ChartSubject& subject,
                const ChartSettings& settings);

// The chart as a file that appears, or replaces an older one, only when complete. Returns "" or
// the message to show; a pattern ChartRefusal refuses writes nothing.
QString SaveChart(const QString& path, const PatternData& pattern, const ChartSubject& subject,
                  const ChartSettings& settings);

} // namespace pelvano
