#pragma once

#include "chart/chart_pdf.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;

namespace pelvano {

inline const QString kChartOptionsTitle = QStringLiteral("Схема для вышивания");

// What the chart to stitch from looks like: the paper, the size of a cell on it, the strands the
// thread amounts count with and whether cells are filled with their threads' colours.
class ChartOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChartOptionsDialog(const ChartSettings& settings, QWidget* parent = nullptr);

    // The choices as the controls show them now.
    ChartSettings settings() const;

    QComboBox* PaperBox = nullptr;
    QDoubleSpinBox* CellBox = nullptr; // mm, with a decimal comma
    QComboBox* StrandsBox = nullptr;   // "Авто", then 1 to 6
    QCheckBox* ColourBox = nullptr;
    QDialogButtonBox* Buttons = nullptr;
};

} // namespace pelvano
