#pragma once

#include "chart/chart_pdf.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/settings_store.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QSettings>
#include <QSizeF>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (const QString& text : texts) {
        PrintTo(text, out);
        *out << ' ';
    }
    *out << '}';
}

namespace pelvano::test {

// Answers the window's dialogs from queues and records what was asked and shown.
class ScriptedDialogs : public Dialogs {
public:
    struct OpenRequest {
        QString title;
        QString folder;
        QString filter;
    };

    std::deque<QString> openAnswers;    // an empty answer cancels
    std::deque<SaveChoice> saveAnswers; // an empty path cancels
    std::deque<bool> yesNoAnswers;
    // The printer dialog: a position the user picks in the list first (if any), then "Печать"
    // (true) or "Отмена" (false).
    struct PrinterAnswer {
        std::optional<int> select;
        bool print = false;
    };
    std::deque<PrinterAnswer> printerAnswers;
    // The chart options dialog: the settings OK gives, or nothing for "Отмена".
    std::deque<std::optional<ChartSettings>> chartAnswers;

    std::vector<OpenRequest> openRequests;
    QStringList messages;
    QStringList questions;
    QStringList printerCaptions;
    std::vector<ChartSettings> chartOffers; // what each chart options dialog started from

    QString openPictureFile(QWidget*, const QString& title, const QString& folder,
                            const QString& filter) override {
        openRequests.push_back({title, folder, filter});
        if (openAnswers.empty()) {
            ADD_FAILURE() << "unexpected open dialog";
            return {};
        }
        QString answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }

    std::optional<SaveChoice> savePictureFile(QWidget*, const QString&, const QString&,
                                              const QString&, int) override {
        if (saveAnswers.empty()) {
            ADD_FAILURE() << "unexpected save dialog";
            return std::nullopt;
        }
        const SaveChoice answer = saveAnswers.front();
        saveAnswers.pop_front();
        if (answer.path.isEmpty())
            return std::nullopt;
        return answer;
    }

    // Runs while a message is on screen, as a user could act then.
    std::function<void(const QString&)> onMessage;

    void showMessage(QWidget*, const QString& text) override {
        messages << text;
        if (onMessage)
            onMessage(text);
    }

    bool askYesNo(QWidget*, const QString& caption, const QString& text) override {
        questions << caption + QStringLiteral(": ") + text;
        if (yesNoAnswers.empty()) {
            ADD_FAILURE() << "unexpected question";
            return false;
        }
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }

    void showPrinterDialog(TForm5& dialog) override {
        printerCaptions << dialog.windowTitle();
        if (printerAnswers.empty()) {
            ADD_FAILURE() << "unexpected printer dialog";
            return;
        }
        const PrinterAnswer answer = printerAnswers.front();
        printerAnswers.pop_front();
        if (answer.select) {
            dialog.ComboBox1->setCurrentIndex(*answer.select);
            emit dialog.ComboBox1->activated(*answer.select);
        }
        (answer.print ? dialog.Button1 : dialog.Button2)->click();
    }

    bool chartOptions(QWidget*, ChartSettings& settings) override {
        chartOffers.push_back(settings);
        if (chartAnswers.empty()) {
            ADD_FAILURE() << "unexpected chart options dialog";
            return false;
        }
        const std::optional<ChartSettings> answer = chartAnswers.front();
        chartAnswers.pop_front();
        if (answer)
            settings = *answer;
        return answer.has_value();
    }
};

QString CorpusFile(const char* relative);
QString TestOutputFile(const QString& name);

// Page count, page size in points and title of a PDF file, from poppler's pdfinfo.
struct PdfInfo {
    int pages = 0;
    QSizeF size;
    QString title;
};
PdfInfo ReadPdfInfo(const QString& path);

// A shown main window with scripted dialogs, at its first-run place and size.
class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a picture through the toolbar button; the dialog answers `path`.
    void openPicture(const QString& path);
    // Presses "Генерировать схему".
    void generate();
    // Gives the scroll box this outer size by resizing the window around it.
    void setScrollBoxSize(int width, int height);

    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

// The same over a settings store emptied before and after; restart() closes the window, which
// writes the settings, and opens a new one, which reads them.
class StoredSettingsFormTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void restart();

    const QString storeFile = QSettings(kSettingsOrganization, kSettingsApplication).fileName();
};

} // namespace pelvano::test
