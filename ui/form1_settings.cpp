#include "engine/palette.h"
#include "engine/size_calculator.h"
#include "engine/thread_matcher.h"
#include "ui/form1.h"
#include "ui/settings_store.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <algorithm>
#include <optional>

namespace pelvano {

void TForm1::FormCreate() {
    KeyImage = QImage();
    const QString masterHint = QStringLiteral(
        "Выбранный параметр устанавливается вручную,\nостальные параметры установит компьютер.");
    for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        radio->setToolTip(masterHint);
    ThreadPalette(); // built once, here rather than in the middle of the first run
    // The first run should not pay for the nearest-thread tables either; they are worked out
    // beside the window, which stays responsive meanwhile. A run that starts first simply works
    // out what it needs itself.
    matcherWarmUp_ = std::jthread([] {
        try {
            PrepareThreadMatcher();
        } catch (...) {
            // Out of memory here only means the run works the tables out as it goes.
        }
    });
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

namespace {

// A place that no screen shows any part of (a monitor since unplugged, a smaller desktop) would
// leave the window out of reach.
bool OnSomeScreen(const QRect& place) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return true;
    for (const QScreen* screen : screens) {
        if (screen->availableGeometry().intersects(place))
            return true;
    }
    return false;
}

// The work area of the screen that shows the largest part of `place`; none when no screen shows
// any of it.
std::optional<QRect> AreaShowingMostOf(const QRect& place) {
    std::optional<QRect> best;
    qint64 bestShown = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const QRect shown = area.intersected(place);
        const qint64 size = qint64(shown.width()) * shown.height();
        if (!shown.isEmpty() && size > bestShown) {
            best = area;
            bestShown = size;
        }
    }
    return best;
}

// A stored place made usable on the screen it is mostly on: a size larger than the screen's work
// area is cut to it (a huge stored size would otherwise give a window of the largest size there is,
// costing gigabytes), the top is not above the work area, so that the title bar can be reached to
// move the window, and at least half of the window, across and down, stays on the screen. A place
// that already keeps to this is left exactly as it is.
QRect WithinReach(const QRect& place) {
    const std::optional<QRect> found = AreaShowingMostOf(place);
    if (!found)
        return place;
    const QRect& area = *found;
    const int width = std::min(place.width(), area.width());
    const int height = std::min(place.height(), area.height());
    const int shownWidth = (width + 1) / 2;
    const int shownHeight = (height + 1) / 2;
    const int left = std::clamp(place.left(), area.left() - (width - shownWidth),
                                area.left() + area.width() - shownWidth);
    const int top = std::clamp(place.top(), area.top(), area.top() + area.height() - shownHeight);
    return QRect(left, top, width, height);
}

// Replaces a text that does not read as a whole number by its default, noting why.
void KeepReadable(QString& text, const QString& fallback, QStringList& problems) {
    if (ParseInteger(text.toStdString()))
        return;
    problems << QString::fromStdString(InvalidIntegerMessage(text.toStdString()));
    text = fallback;
}

} // namespace

void TForm1::RestoreSettings() {
    QSettings store(kSettingsOrganization, kSettingsApplication);
    QStringList problems;
    StartupSettings settings = ReadSettings(store, &problems);
    const StartupSettings defaults;

    // The recalculation reads the master's text. One that is not a number would stop it, and
    // the restore with it, so the settings after it would be lost at the next close.
    int master = settings.masterIndex;
    if (master < 1 || master > 4) {
        // No button for the number read: the button checked now stays the master.
        master = RadioButton1->isChecked()   ? 1
                 : RadioButton2->isChecked() ? 2
                 : RadioButton3->isChecked() ? 3
                 : RadioButton4->isChecked() ? 4
                                             : 0;
    }
    switch (master) {
    case 1:
        KeepReadable(settings.embroideryWidth, defaults.embroideryWidth, problems);
        break;
    case 2:
        KeepReadable(settings.embroideryHeight, defaults.embroideryHeight, problems);
        break;
    case 3:
        KeepReadable(settings.columns, defaults.columns, problems);
        break;
    case 4:
        KeepReadable(settings.rows, defaults.rows, problems);
        break;
    default: // without a master the counts are read as they stand
        KeepReadable(settings.columns, defaults.columns, problems);
        KeepReadable(settings.rows, defaults.rows, problems);
        break;
    }

    QRect place(settings.windowLeft, settings.windowTop, settings.windowWidth,
                settings.windowHeight);
    if (!OnSomeScreen(place))
        place = QRect(defaults.windowLeft, defaults.windowTop, defaults.windowWidth,
                      defaults.windowHeight);
    place = WithinReach(place);
    settings.windowLeft = place.left();
    settings.windowTop = place.top();
    settings.windowWidth = place.width();
    settings.windowHeight = place.height();

    // Everything that could not be used, in one message; the defaults stand in for it.
    if (!problems.isEmpty())
        dialogs_.showMessage(this, problems.join(QStringLiteral("\r\n")));
    ApplyStartupSettings(settings);
    ChartOptions = ReadChartSettings(store);
    const GenerationOptions options = ReadGenerationOptions(store);
    CheckBox6->setChecked(options.perceptual);
    CheckBox7->setChecked(options.cleanConfetti);
}

void TForm1::SaveSettings() {
    StartupSettings settings;
    settings.saveFolder = SaveDir;
    settings.openFolder = OpenDir;
    settings.fitToWindow = RadioButton5->isChecked();
    settings.shadeLimit = Edit4->text();
    settings.crossWidthHundredths = UpDown1->position();
    settings.crossHeightHundredths = UpDown2->position();
    settings.masterIndex = MasterIndex;
    settings.embroideryWidth = Edit2->text();
    settings.embroideryHeight = Edit1->text();
    settings.columns = Edit6->text();
    settings.rows = Edit5->text();
    settings.limitShades = CheckBox1->isChecked();
    settings.drawGrid = CheckBox2->isChecked();
    settings.drawSymbols = CheckBox3->isChecked();
    settings.realStitches = CheckBox4->isChecked();
    settings.showColor = CheckBox5->isChecked();
    settings.printerIndex = PrinterIndex;
    // A maximised window stores no place: the normal one of an earlier close stays.
    settings.maximized = isMaximized();
    settings.windowTop = y();
    settings.windowLeft = x();
    settings.windowWidth = width();
    settings.windowHeight = height();

    QSettings store(kSettingsOrganization, kSettingsApplication);
    // Before the 22 values, whose writing puts everything into the store at once.
    WriteGenerationOptions(store, {CheckBox6->isChecked(), CheckBox7->isChecked()});
    const QString error = WriteSettings(store, settings);
    // Reported, not thrown: closing goes on whether or not the settings could be kept.
    if (!error.isEmpty())
        dialogs_.showMessage(this, error);
}

void TForm1::FormClose() {
    SaveSettings();
    KeyImage = QImage();
}

} // namespace pelvano
