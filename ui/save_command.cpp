#include "ui/save_command.h"

#include "io/file_name.h"
#include "io/picture_export.h"
#include "ui/error_guard.h"
#include "ui/folder_of.h"
#include "ui/form1.h"

#include <QApplication>
#include <QFileInfo>

namespace pelvano {

namespace {

// A large pattern takes a moment to lay out over its pages.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

QString OverwriteQuestion(const QString& path) {
    return QStringLiteral("Файл \"%1\" уже существует. Перезаписать ?").arg(FileNamePart(path));
}

namespace {

constexpr int kOxsFilterIndex = 3;

} // namespace

void SavePictureFile(Dialogs& dialogs, QWidget* parent, SaveDialogMemory memory,
                     const QImage& image, SavedPicture which, const PatternExchange* exchange) {
    const QString& title = which == SavedPicture::Key ? kSaveKeyTitle : kSavePatternTitle;
    const QString& filter = exchange != nullptr ? kSavePatternFilter : kSavePictureFilter;
    const int entries = exchange != nullptr ? kOxsFilterIndex : 2;
    // Each "no" to the overwrite question starts over with a fresh, empty dialog.
    for (;;) {
        const int offered =
            memory.filterIndex >= 1 && memory.filterIndex <= entries ? memory.filterIndex : 1;
        const std::optional<SaveChoice> choice =
            dialogs.savePictureFile(parent, title, memory.folder, filter, offered);
        if (!choice)
            return;
        memory.filterIndex = choice->filterIndex;
        const bool oxs = exchange != nullptr && choice->filterIndex == kOxsFilterIndex;
        const PictureFormat format =
            choice->filterIndex == 1 ? PictureFormat::Bmp : PictureFormat::Jpeg;
        const QString target = oxs ? WithExtension(choice->path, QStringLiteral(".oxs"))
                                   : ForceExtension(choice->path, format);
        if (QFileInfo::exists(target) &&
            !dialogs.askYesNo(parent, kQuestionCaption, OverwriteQuestion(target)))
            continue;

        const QString error = oxs ? SaveOxs(target, exchange->pattern, exchange->subject)
                                  : SavePicture(image, target, format);
        if (!error.isEmpty())
            throw UserError(error);
        memory.folder = DialogFolderOf(choice->path);
        return;
    }
}

void SaveChartFile(Dialogs& dialogs, QWidget* parent, QString& folder, const PatternData& pattern,
                   const ChartSubject& subject, const ChartSettings& settings) {
    for (;;) {
        const std::optional<SaveChoice> choice =
            dialogs.savePictureFile(parent, kSaveChartTitle, folder, kPdfFilter, 1);
        if (!choice)
            return;
        const QString target = WithExtension(choice->path, QStringLiteral(".pdf"));
        if (QFileInfo::exists(target) &&
            !dialogs.askYesNo(parent, kQuestionCaption, OverwriteQuestion(target)))
            continue;

        const QString error = [&] {
            const WaitCursor wait;
            return SaveChart(target, pattern, subject, settings);
        }();
        if (!error.isEmpty())
            throw UserError(error);
        folder = DialogFolderOf(choice->path);
        return;
    }
}

} // namespace pelvano
