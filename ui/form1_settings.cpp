#include "engine/palette.h"
#include "engine/size_calculator.h"
#include "ui/form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace pelvano {

void TForm1::FormCreate() {
    KeyImage = QImage();
    const QString masterHint = QStringLiteral(
        "Выбранный параметр устанавливается вручную,\nостальные параметры установит компьютер.");
    for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        radio->setToolTip(masterHint);
    ThreadPalette(); // built once, here rather than in the middle of the first run
    Tag = 0;
    PictureAspect = 1.0L;
    RadioButton1Click();
    Label7->setText(QStringLiteral("Ограничить\nчисло оттенков"));
    Label7->adjustSize();
    RestoreSettings();
    Image1->setImageSize(0, 0);
}

void TForm1::ApplyStartupSettings(const StartupSettings& settings) {
    writeText(Edit4, settings.shadeLimit);
    // The spin buttons keep the size in range; the field's own handler then normalises the
    // text, recalculates and resets the view.
    UpDown1->setPosition(static_cast<std::int16_t>(settings.crossWidthHundredths));
    writeText(Edit3, QString::fromStdString(CrossSizeText(UpDown1->position())));
    UpDown2->setPosition(static_cast<std::int16_t>(settings.crossHeightHundredths));
    writeText(Edit7, QString::fromStdString(CrossSizeText(UpDown2->position())));

    move(settings.windowLeft, settings.windowTop);
    resize(settings.windowWidth, settings.windowHeight);
    PrinterIndex = settings.printerIndex;

    // A master outside 1..4 checks no button: the one checked before stays the master, and the
    // number read is kept so that it is written back unchanged.
    MasterIndex = settings.masterIndex;
    switch (settings.masterIndex) {
    case 1:
        writeChecked(RadioButton1, true);
        break;
    case 2:
        writeChecked(RadioButton2, true);
        break;
    case 3:
        writeChecked(RadioButton3, true);
        break;
    case 4:
        writeChecked(RadioButton4, true);
        break;
    default:
        break;
    }
    writeText(Edit2, settings.embroideryWidth);
    writeText(Edit1, settings.embroideryHeight);
    writeText(Edit6, settings.columns);
    writeText(Edit5, settings.rows);
    RecalcSizes();

    writeChecked(RadioButton5, settings.fitToWindow);
    writeChecked(RadioButton6, !settings.fitToWindow);
    SaveDir = settings.saveFolder;
    OpenDir = settings.openFolder;
    writeChecked(CheckBox1, settings.limitShades);
    writeChecked(CheckBox2, settings.drawGrid);
    writeChecked(CheckBox3, settings.drawSymbols);
    writeChecked(CheckBox4, settings.realStitches);
    writeChecked(CheckBox5, settings.showColor);
    CheckBox5->setEnabled(CheckBox3->isChecked());
    if (settings.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

// Until the settings store exists every start is a first run.
void TForm1::RestoreSettings() {
    ApplyStartupSettings(StartupSettings{});
}

void TForm1::SaveSettings() {}

void TForm1::FormClose() {
    SaveSettings();
    KeyImage = QImage();
}

} // namespace pelvano
