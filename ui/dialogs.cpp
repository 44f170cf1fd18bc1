#include "ui/dialogs.h"

#include "ui/chart_options_dialog.h"
#include "ui/form5.h"
#include "ui/picture_preview.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>

namespace pelvano {

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren >= 0)
            description = description.left(paren);
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        result << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns.join(' '));
    }
    return result;
}

QString PlainLineBreaks(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return plain;
}

QString QtDialogs::openPictureFile(QWidget* parent, const QString& title, const QString& folder,
                                   const QString& filter) {
    // Qt's own dialog, so that a preview pane can sit beside the file list.
    QFileDialog dialog(parent, title, folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name need not exist: the loader reports a missing file itself.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QtNameFilters(filter));
    if (auto* sidebar = dialog.findChild<QWidget*>(QStringLiteral("sidebar")))
        sidebar->hide();
    auto* preview = new PicturePreview(&dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    FollowCurrentFile(dialog, *preview);
    dialog.resize(760, 460); // room for the file list beside the preview
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<SaveChoice> QtDialogs::savePictureFile(QWidget* parent, const QString& title,
                                                     const QString& folder, const QString& filter,
                                                     int filterIndex) {
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtNameFilters(filter);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters[filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    SaveChoice choice;
    choice.path = dialog.selectedFiles().constFirst();
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    choice.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : 1;
    return choice;
}

void QtDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), PlainLineBreaks(text),
                    QMessageBox::Ok, parent);
    box.exec();
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, PlainLineBreaks(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::showPrinterDialog(TForm5& dialog) {
    dialog.exec();
}

bool QtDialogs::chartOptions(QWidget* parent, ChartSettings& settings) {
    ChartOptionsDialog dialog(settings, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.settings();
    return true;
}

} // namespace pelvano
