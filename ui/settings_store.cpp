#include "ui/settings_store.h"

#include "engine/integer_text.h"

#include <QDir>
#include <QSettings>
#include <QVariant>
#include <cmath>
#include <optional>

namespace pelvano {

namespace {

// The stored string of `name`, or nothing when the value is missing or unusable.
std::optional<QString> readString(QSettings& store, const QString& name, QStringList* problems) {
    if (!store.contains(name))
        return std::nullopt;
    const QVariant value = store.value(name);
    if (value.typeId() != QMetaType::QString) {
        if (problems)
            problems->append(QStringLiteral("Invalid data type for '%1'").arg(name));
        return std::nullopt;
    }
    return value.toString();
}

QString readText(QSettings& store, const QString& name, const QString& fallback,
                 QStringList* problems) {
    return readString(store, name, problems).value_or(fallback);
}

std::int32_t readInteger(QSettings& store, const QString& name, std::int32_t fallback,
                         QStringList* problems) {
    const std::optional<QString> text = readString(store, name, problems);
    if (!text)
        return fallback;
    return ParseInteger(text->toStdString()).value_or(fallback);
}

bool readBoolean(QSettings& store, const QString& name, bool fallback, QStringList* problems) {
    return readInteger(store, name, fallback ? 1 : 0, problems) != 0;
}

void writeText(QSettings& store, const QString& name, const QString& text) {
    store.setValue(name, text);
}

void writeInteger(QSettings& store, const QString& name, std::int32_t value) {
    store.setValue(name, QString::number(value));
}

void writeBoolean(QSettings& store, const QString& name, bool value) {
    store.setValue(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

StartupSettings ReadSettings(QSettings& store, QStringList* problems) {
    const StartupSettings defaults;
    StartupSettings s;
    s.shadeLimit = readText(store, QStringLiteral("MulineNum"), defaults.shadeLimit, problems);
    s.crossWidthHundredths =
        readInteger(store, QStringLiteral("KrestikWidth"), defaults.crossWidthHundredths, problems);
    s.crossHeightHundredths = readInteger(store, QStringLiteral("KrestikHeight"),
                                          defaults.crossHeightHundredths, problems);
    s.windowTop = readInteger(store, QStringLiteral("WinTop"), defaults.windowTop, problems);
    s.windowLeft = readInteger(store, QStringLiteral("WinLeft"), defaults.windowLeft, problems);
    s.windowWidth = readInteger(store, QStringLiteral("WinWidth"), defaults.windowWidth, problems);
    s.windowHeight =
        readInteger(store, QStringLiteral("WinHeight"), defaults.windowHeight, problems);
    s.printerIndex =
        readInteger(store, QStringLiteral("PrinterIndex"), defaults.printerIndex, problems);
    s.masterIndex =
        readInteger(store, QStringLiteral("RadioButton"), defaults.masterIndex, problems);
    s.embroideryWidth =
        readText(store, QStringLiteral("VishWidth"), defaults.embroideryWidth, problems);
    s.embroideryHeight =
        readText(store, QStringLiteral("VishHeight"), defaults.embroideryHeight, problems);
    s.columns = readText(store, QStringLiteral("Vertnum"), defaults.columns, problems);
    s.rows = readText(store, QStringLiteral("Hornum"), defaults.rows, problems);
    s.fitToWindow = readBoolean(store, QStringLiteral("Stretch"), defaults.fitToWindow, problems);
    s.saveFolder = readText(store, QStringLiteral("SaveDir"), defaults.saveFolder, problems);
    s.openFolder = readText(store, QStringLiteral("OpenDir"), defaults.openFolder, problems);
    s.limitShades = readBoolean(store, QStringLiteral("Limit"), defaults.limitShades, problems);
    s.drawGrid = readBoolean(store, QStringLiteral("Setka"), defaults.drawGrid, problems);
    s.drawSymbols = readBoolean(store, QStringLiteral("Znaki"), defaults.drawSymbols, problems);
    s.realStitches = readBoolean(store, QStringLiteral("Real"), defaults.realStitches, problems);
    s.showColor = readBoolean(store, QStringLiteral("Color"), defaults.showColor, problems);
    s.maximized = readBoolean(store, QStringLiteral("WinState"), defaults.maximized, problems);
    return s;
}

QString WriteSettings(QSettings& store, const StartupSettings& values) {
    writeText(store, QStringLiteral("SaveDir"), values.saveFolder);
    writeText(store, QStringLiteral("OpenDir"), values.openFolder);
    writeBoolean(store, QStringLiteral("Stretch"), values.fitToWindow);
    writeText(store, QStringLiteral("MulineNum"), values.shadeLimit);
    writeInteger(store, QStringLiteral("KrestikWidth"), values.crossWidthHundredths);
    writeInteger(store, QStringLiteral("KrestikHeight"), values.crossHeightHundredths);
    writeInteger(store, QStringLiteral("RadioButton"), values.masterIndex);
    writeText(store, QStringLiteral("VishWidth"), values.embroideryWidth);
    writeText(store, QStringLiteral("VishHeight"), values.embroideryHeight);
    writeText(store, QStringLiteral("Vertnum"), values.columns);
    writeText(store, QStringLiteral("Hornum"), values.rows);
    writeBoolean(store, QStringLiteral("Limit"), values.limitShades);
    writeBoolean(store, QStringLiteral("Setka"), values.drawGrid);
    writeBoolean(store, QStringLiteral("Znaki"), values.drawSymbols);
    writeBoolean(store, QStringLiteral("Real"), values.realStitches);
    writeBoolean(store, QStringLiteral("Color"), values.showColor);
    writeInteger(store, QStringLiteral("PrinterIndex"), values.printerIndex);
    if (values.maximized) {
        writeBoolean(store, QStringLiteral("WinState"), true);
    } else {
        writeInteger(store, QStringLiteral("WinTop"), values.windowTop);
        writeInteger(store, QStringLiteral("WinLeft"), values.windowLeft);
        writeInteger(store, QStringLiteral("WinWidth"), values.windowWidth);
        writeInteger(store, QStringLiteral("WinHeight"), values.windowHeight);
        writeBoolean(store, QStringLiteral("WinState"), false);
    }

    // The values are only buffered so far; this is where the store is really written, all of
    // them at once, so one that fails cannot keep the others out.
    store.sync();
    if (store.status() == QSettings::AccessError || !store.isWritable())
        return QStringLiteral("Failed to create key %1")
            .arg(QDir::toNativeSeparators(store.fileName()));
    return {};
}

ChartSettings ReadChartSettings(QSettings& store) {
    const ChartSettings defaults;
    ChartSettings s;
    store.beginGroup(kChartSettingsGroup);
    const QString paper = readText(store, QStringLiteral("Paper"), QString(), nullptr);
    s.paper = paper == QLatin1String("Letter") ? QPageSize::Letter : defaults.paper;
    // Tenths of a millimetre are as fine as the dialog goes.
    QString cell = readText(store, QStringLiteral("CellMm"), QString(), nullptr);
    bool number = false;
    const double cellMm = cell.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&number);
    s.cellMm =
        number && cellMm >= 2 && cellMm <= 6 ? std::round(cellMm * 10) / 10 : defaults.cellMm;
    const std::int32_t strands =
        readInteger(store, QStringLiteral("Strands"), defaults.strands, nullptr);
    s.strands = strands >= 0 && strands <= 6 ? strands : defaults.strands;
    s.colour = readBoolean(store, QStringLiteral("Colour"), defaults.colour, nullptr);
    store.endGroup();
    return s;
}

void WriteChartSettings(QSettings& store, const ChartSettings& values) {
    store.beginGroup(kChartSettingsGroup);
    writeText(store, QStringLiteral("Paper"),
              values.paper == QPageSize::Letter ? QStringLiteral("Letter") : QStringLiteral("A4"));
    writeText(store, QStringLiteral("CellMm"), QString::number(values.cellMm, 'f', 1));
    writeInteger(store, QStringLiteral("Strands"), values.strands);
    writeBoolean(store, QStringLiteral("Colour"), values.colour);
    store.endGroup();
}

GenerationOptions ReadGenerationOptions(QSettings& store) {
    GenerationOptions options;
    store.beginGroup(kGenerationSettingsGroup);
    options.perceptual = readBoolean(store, QStringLiteral("Perceptual"), false, nullptr);
    options.cleanConfetti = readBoolean(store, QStringLiteral("CleanConfetti"), false, nullptr);
    store.endGroup();
    return options;
}

void WriteGenerationOptions(QSettings& store, const GenerationOptions& values) {
    store.beginGroup(kGenerationSettingsGroup);
    writeBoolean(store, QStringLiteral("Perceptual"), values.perceptual);
    writeBoolean(store, QStringLiteral("CleanConfetti"), values.cleanConfetti);
    store.endGroup();
}

} // namespace pelvano
