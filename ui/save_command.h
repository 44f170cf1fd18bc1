#pragma once

#include "chart/chart_pdf.h"
#include "engine/pattern_data.h"
#include "io/oxs_export.h"
#include "ui/dialogs.h"

#include <QImage>
#include <QString>

class QWidget;

namespace pelvano {

inline const QString kSavePatternTitle = QStringLiteral("Сохраняем схему");
inline const QString kSaveKeyTitle = QStringLiteral("Сохраняем ключ");
inline const QString kSaveChartTitle = QStringLiteral("Сохраняем схему для вышивания");
inline const QString kQuestionCaption = QStringLiteral("Вопрос");
inline const QString kPdfFilter = QStringLiteral("PDF-файл (*.pdf)|*.pdf");

enum class SavedPicture { Pattern, Key };

// What the save dialog remembers between saves: the folder it starts in and the filter entry
// chosen last (1 BMP, 2 JPEG, 3 OXS).
struct SaveDialogMemory {
    QString& folder;
    int& filterIndex;
};

// "Файл "photo.bmp" уже существует. Перезаписать ?" for the file about to be replaced.
QString OverwriteQuestion(const QString& path);

// The pattern itself, offered as a third file type after the two pictures for programs that edit
// patterns.
struct PatternExchange {
    const PatternData& pattern;
    OxsSubject subject;
};

inline const QString kSavePatternFilter =
    QStringLiteral("Картинка (*.bmp)|*.bmp|Картинка (*.jpg)|*.jpg|Схема OXS (*.oxs)|*.oxs");

// Asks for a file name and writes `image` there, or with `exchange` and the third entry chosen,
// the pattern as OXS. The chosen filter entry decides the format and the extension, whatever the
// typed name ends in. A remembered entry that the dialog does not offer (OXS when saving the key)
// shows the first one; what is remembered changes only when the user chooses. An existing file is
// replaced only after the user says yes; "no" shows the dialog again, and the entry chosen then is
// remembered. Cancelling writes and changes nothing. After a successful write the dialog will next
// start in the file's folder. A file that cannot be written throws UserError with the writer's
// text; an existing file of that name is then left as it was.
void SavePictureFile(Dialogs& dialogs, QWidget* parent, SaveDialogMemory memory,
                     const QImage& image, SavedPicture which,
                     const PatternExchange* exchange = nullptr);

// Asks for a PDF file name and writes the chart to stitch from there, with the picture saves'
// rules: the extension is always ".pdf", an existing file is replaced only after a yes and "no"
// shows the dialog again, cancelling writes nothing, and `folder` becomes the file's folder only
// after a successful write. A chart that cannot be written throws UserError with the writer's text.
void SaveChartFile(Dialogs& dialogs, QWidget* parent, QString& folder, const PatternData& pattern,
                   const ChartSubject& subject, const ChartSettings& settings);

} // namespace pelvano
