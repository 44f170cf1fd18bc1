#include "io/file_name.h"
#include "ui/form1.h"
#include "ui/save_command.h"
#include "ui/settings_store.h"

#include <QSettings>

namespace pelvano {

// The chart to stitch from: the pattern over as many PDF pages as it needs, with its key.

void TForm1::SpeedButton6Click() {
    // A pattern with more threads than there are symbols is refused before anything is asked.
    if (const QString refusal = ChartRefusal(Pattern); !refusal.isEmpty()) {
        dialogs_.showMessage(this, refusal);
        return;
    }
    ChartSettings chosen = ChartOptions;
    if (!dialogs_.chartOptions(this, chosen))
        return;
    // Kept at once: the choices are the user's even if no file is written this time.
    ChartOptions = chosen;
    {
        QSettings store(kSettingsOrganization, kSettingsApplication);
        WriteChartSettings(store, ChartOptions);
    }

    ChartSubject subject;
    subject.title = FileNamePart(PictureFile);
    subject.crossWidthMm = static_cast<double>(CrossWidth);
    subject.crossHeightMm = static_cast<double>(CrossHeight);
    SaveChartFile(dialogs_, this, SaveDir, Pattern, subject, ChartOptions);
}

} // namespace pelvano
