#include "ui/chart_options_dialog.h"

#include "ui/interface_font.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace pelvano {

ChartOptionsDialog::ChartOptionsDialog(const ChartSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("ChartOptions"));
    setWindowTitle(kChartOptionsTitle);
    setModal(true);
    setFont(InterfaceFont(font()));

    PaperBox = new QComboBox(this);
    PaperBox->setObjectName(QStringLiteral("PaperBox"));
    PaperBox->addItem(QStringLiteral("A4 (210 × 297 мм)"), int(QPageSize::A4));
    PaperBox->addItem(QStringLiteral("Letter (216 × 279 мм)"), int(QPageSize::Letter));
    PaperBox->setCurrentIndex(settings.paper == QPageSize::Letter ? 1 : 0);

    CellBox = new QDoubleSpinBox(this);
    CellBox->setObjectName(QStringLiteral("CellBox"));
    // A decimal comma, as in the window's cross size fields, whatever the system's language.
    CellBox->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    CellBox->setDecimals(1);
    CellBox->setRange(2, 6);
    CellBox->setSingleStep(0.5);
    CellBox->setSuffix(QStringLiteral(" мм"));
    CellBox->setValue(settings.cellMm);

    StrandsBox = new QComboBox(this);
    StrandsBox->setObjectName(QStringLiteral("StrandsBox"));
    StrandsBox->addItem(QStringLiteral("Авто (по размеру крестика)"), 0);
    for (int strands = 1; strands <= 6; ++strands)
        StrandsBox->addItem(QString::number(strands), strands);
    StrandsBox->setCurrentIndex(std::max(0, StrandsBox->findData(settings.strands)));

    ColourBox = new QCheckBox(QStringLiteral("Клетки в цвете ниток"), this);
    ColourBox->setObjectName(QStringLiteral("ColourBox"));
    ColourBox->setChecked(settings.colour);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Бумага:"), PaperBox);
    fields->addRow(QStringLiteral("Размер клетки:"), CellBox);
    fields->addRow(QStringLiteral("Сложений нити:"), StrandsBox);
    fields->addRow(ColourBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ChartSettings ChartOptionsDialog::settings() const {
    ChartSettings chosen;
    chosen.paper = static_cast<QPageSize::PageSizeId>(PaperBox->currentData().toInt());
    chosen.cellMm = CellBox->value();
    chosen.strands = StrandsBox->currentData().toInt();
    chosen.colour = ColourBox->isChecked();
    return chosen;
}

} // namespace pelvano
