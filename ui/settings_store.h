#pragma once

#include "chart/chart_pdf.h"
#include "ui/startup_settings.h"

#include <QString>
#include <QStringList>

class QSettings;

namespace pelvano {

// Where the settings live: one store per user ("Pelvano", "Options"). On Windows that is the
// registry key HKEY_CURRENT_USER\Software\Pelvano\Options, elsewhere Pelvano/Options.conf in
// the user's configuration folder.
inline const QString kSettingsOrganization = QStringLiteral("Pelvano");
inline const QString kSettingsApplication = QStringLiteral("Options");

// Reads the 22 values. Every value is stored as a string; a missing one gives its default (the
// defaults of StartupSettings), so does an integer or boolean whose string is not a whole number.
// A boolean is true for any number but 0. A value stored as something other than a string (a
// number in the registry, a list in the file) cannot be used: it gives its default too, and
// "Invalid data type for 'NAME'" is added to `problems`.
StartupSettings ReadSettings(QSettings& store, QStringList* problems = nullptr);

// Writes the values back, each as a string: texts unchanged, integers in decimal, booleans "1" or
// "0". For a maximised window only "WinState" is written of the window's place, so the normal
// place and size of an earlier run survive. Returns "" on success, else the text to show; a
// failure never stops the other values from being set.
QString WriteSettings(QSettings& store, const StartupSettings& values);

// The chart dialog's choices live in a group of their own beside the 22 values, each as a string:
// "Chart/Paper" ("A4" or "Letter"), "Chart/CellMm" (millimetres, "3.5"), "Chart/Strands" ("0" for
// by the cross size, or 1 to 6) and "Chart/Colour" ("1" or "0"). A missing or unusable value gives
// its default.
inline const QString kChartSettingsGroup = QStringLiteral("Chart");
ChartSettings ReadChartSettings(QSettings& store);
void WriteChartSettings(QSettings& store, const ChartSettings& values);

// The optional ways of making the pattern, in a group of their own too: "Generation/Perceptual"
// and "Generation/CleanConfetti", "1" or "0". A missing or unusable value gives "0", the plain
// run.
inline const QString kGenerationSettingsGroup = QStringLiteral("Generation");
struct GenerationOptions {
    bool perceptual = false;
    bool cleanConfetti = false;
};
GenerationOptions ReadGenerationOptions(QSettings& store);
void WriteGenerationOptions(QSettings& store, const GenerationOptions& values);

} // namespace pelvano
