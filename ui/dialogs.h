#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace pelvano {

struct ChartSettings;
class TForm5;

// What the user picked in a save dialog.
struct SaveChoice {
    QString path;
    int filterIndex = 1; // 1-based position of the chosen filter, as the filter string lists them
};

// Every modal thing the main window shows goes through this interface, so the window can be
// driven headless in tests by a stand-in that answers from a script. Filters are written as
// "description|patterns|description|patterns", patterns separated by ";".
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An open-file dialog for a source picture, with a preview pane. Empty when cancelled.
    virtual QString openPictureFile(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter) = 0;

    // A save-file dialog with a filter choice. Nothing when cancelled.
    virtual std::optional<SaveChoice> savePictureFile(QWidget* parent, const QString& title,
                                                      const QString& folder, const QString& filter,
                                                      int filterIndex) = 0;

    // A modal message box with one text and an OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;

    // A yes/no question; true for yes.
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;

    // Shows the printer choice dialog modally; the dialog itself records the outcome (its Tag)
    // and the user's printer choice.
    virtual void showPrinterDialog(TForm5& dialog) = 0;

    // The options of the chart to stitch from, starting from `settings`. True on OK, with the
    // user's choices in `settings`; false leaves them as they were.
    virtual bool chartOptions(QWidget* parent, ChartSettings& settings) = 0;
};

// The real dialogs of the desktop.
class QtDialogs : public Dialogs {
public:
    QString openPictureFile(QWidget* parent, const QString& title, const QString& folder,
                            const QString& filter) override;
    std::optional<SaveChoice> savePictureFile(QWidget* parent, const QString& title,
                                              const QString& folder, const QString& filter,
                                              int filterIndex) override;
    void showMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    void showPrinterDialog(TForm5& dialog) override;
    bool chartOptions(QWidget* parent, ChartSettings& settings) override;
};

// "Картинки (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp" -> {"Картинки (*.jpg *.jpeg *.bmp)"}: Qt
// reads the patterns from the parentheses, separated by spaces.
QStringList QtNameFilters(const QString& filter);

// Message texts carry Windows-style line breaks ("\r\n", and "\n\r" in one warning); a label
// wants plain "\n".
QString PlainLineBreaks(const QString& text);

} // namespace pelvano
