#include "io/print_picture.h"
#include "ui/form5.h"
#include "ui/settings_store.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace pelvano::test {
namespace {

const QString kRose = CorpusFile("photos/rose-70x46.bmp");

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

TEST(PrinterDialog, ControlsKeysAndTheStoredChoice) {
    std::int32_t printerIndex = 1;
    TForm5 dialog({{QStringLiteral("Alpha"), QStringLiteral("Beta")}, QStringLiteral("Alpha")},
                  printerIndex);
    EXPECT_EQ(dialog.size(), QSize(340, 114));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Выберите принтер:"));
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("Печать"));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("Отмена"));
    EXPECT_TRUE(dialog.Button1->isDefault());
    EXPECT_FALSE(dialog.ComboBox1->isEditable());
    // The PDF entry comes after every printer, so the printers keep their positions.
    EXPECT_EQ(Items(dialog.ComboBox1),
              QStringList({QStringLiteral("Alpha"), QStringLiteral("Beta"), kPdfFileEntry}));
    EXPECT_EQ(dialog.pdfEntryIndex(), 2);
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), 1);

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Escape closes nothing.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    // A choice made with the keyboard is stored at once.
    QTest::keyClick(dialog.ComboBox1, Qt::Key_Up);
    EXPECT_EQ(printerIndex, 0);
    // Enter presses "Печать".
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Tag, 1);

    // The close box is a cancel: Tag stays 0.
    dialog.Tag = 0;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Tag, 0);
}

TEST(PrinterDialog, StoredPositionOutsideTheListSelectsNothingAndIsKept) {
    const PrinterList two{{QStringLiteral("Alpha"), QStringLiteral("Beta")}, QString()};
    for (const std::int32_t stored : {3, -1, -7}) {
        std::int32_t printerIndex = stored;
        TForm5 dialog(two, printerIndex);
        EXPECT_EQ(dialog.ComboBox1->currentIndex(), -1) << stored;
        EXPECT_EQ(printerIndex, stored);
    }
    std::int32_t pdf = 2;
    TForm5 dialog(two, pdf);
    EXPECT_EQ(dialog.ComboBox1->currentText(), kPdfFileEntry);
}

class PrintCommandTest : public FormTest {
protected:
    // The dialog as start-up makes it, after the window has restored PrinterIndex.
    void makePrinterDialog(const PrinterList& printers, std::int32_t printerIndex) {
        form->PrinterIndex = printerIndex;
        delete form->Form5;
        form->Form5 = new TForm5(printers, form->PrinterIndex, form.get());
    }

    void generatePattern() {
        openPicture(kRose);
        generate();
        ASSERT_EQ(form->Tag, 2);
        ASSERT_TRUE(form->SpeedButton4->isEnabled());
    }

    void print(QToolButton* button, std::optional<int> select, bool confirm) {
        dialogs.printerAnswers.push_back({select, confirm});
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(dialogs.printerAnswers.empty());
    }

    QTemporaryDir dir;
};

TEST_F(PrintCommandTest, CancelPrintsNothingButKeepsTheNewChoice) {
    makePrinterDialog({{QStringLiteral("Alpha"), QStringLiteral("Beta")}, QString()}, -1);
    generatePattern();
    // No save dialog and no message may come up: the scripted dialogs fail the test on either.
    print(form->SpeedButton4, 1, false);
    EXPECT_EQ(form->PrinterIndex, 1);
    print(form->SpeedButton5, std::nullopt, false);
    EXPECT_EQ(form->PrinterIndex, 1);
    EXPECT_EQ(dialogs.printerCaptions, QStringList({kPrintPatternCaption, kPrintKeyCaption}));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // And it is what closing the window stores for the next run.
    form->SaveSettings();
    QSettings store(kSettingsOrganization, kSettingsApplication);
    EXPECT_EQ(ReadSettings(store).printerIndex, 1);
}

TEST_F(PrintCommandTest, PdfEntryPrintsIntoTheChosenFile) {
    makePrinterDialog({}, 0); // no printers: the PDF entry is the first
    generatePattern();
    const QString chosen = dir.filePath(QStringLiteral("rose"));
    const QString written = chosen + QStringLiteral(".pdf");

    // The rose is wider than high: a landscape A4 page.
    dialogs.saveAnswers.push_back({chosen, 1});
    print(form->SpeedButton4, std::nullopt, true);
    PdfInfo info = ReadPdfInfo(written);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.size.width(), 841.9, 0.5);
    EXPECT_NEAR(info.size.height(), 595.3, 0.5);

    // The key over it, portrait, once the user agrees to replace the file.
    dialogs.saveAnswers.push_back({written, 1});
    dialogs.yesNoAnswers.push_back(true);
    print(form->SpeedButton5, std::nullopt, true);
    info = ReadPdfInfo(written);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.size.width(), 595.3, 0.5);
    EXPECT_EQ(dialogs.questions, QStringList(QStringLiteral(
                                     "Вопрос: Файл \"rose.pdf\" уже существует. Перезаписать ?")));

    // Refusing to replace it, or cancelling the save dialog, leaves the file alone.
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    dialogs.saveAnswers.push_back({written, 1});
    dialogs.yesNoAnswers.push_back(false);
    dialogs.saveAnswers.push_back({QString(), 1});
    print(form->SpeedButton4, std::nullopt, true);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(form->PrinterIndex, 0);
}

TEST_F(PrintCommandTest, PdfChoiceOutlivesNewPrintersAndTheFileAlwaysEndsInPdf) {
    makePrinterDialog({{QStringLiteral("Alpha")}, QString()}, 0);
    generatePattern();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("a.b")));
    const QString name = dir.filePath(QStringLiteral("a.b/name"));
    // The dot in the folder is no extension.
    dialogs.saveAnswers.push_back({name, 1});
    print(form->SpeedButton4, 1, true);
    EXPECT_EQ(ReadPdfInfo(name + QStringLiteral(".pdf")).pages, 1);

    // A printer installed since does not take over the stored choice.
    form->SaveSettings();
    QSettings store(kSettingsOrganization, kSettingsApplication);
    makePrinterDialog({{QStringLiteral("Alpha"), QStringLiteral("Beta")}, QString()},
                      ReadSettings(store).printerIndex);
    EXPECT_EQ(form->Form5->ComboBox1->currentText(), kPdfFileEntry);

    // Another extension is replaced, and "Нет" to replacing the file asks for a name again.
    dialogs.saveAnswers.push_back({name + QStringLiteral(".jpg"), 1});
    dialogs.yesNoAnswers.push_back(false);
    dialogs.saveAnswers.push_back({dir.filePath(QStringLiteral("y.PDF")), 1});
    print(form->SpeedButton5, std::nullopt, true);
    EXPECT_EQ(ReadPdfInfo(dir.filePath(QStringLiteral("y.pdf"))).pages, 1);
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(dialogs.saveAnswers.empty());
    EXPECT_EQ(form->PrinterIndex, -2); // the stored form of the PDF choice
}

TEST_F(PrintCommandTest, NoPrinterGivesThePrintSystemsError) {
    // Nothing installed at all.
    makePrinterDialog({}, -1);
    generatePattern();
    print(form->SpeedButton4, std::nullopt, true);
    EXPECT_EQ(dialogs.messages, QStringList(kNoDefaultPrinter));

    // A stored choice past the list falls back to the default printer, here none; the stored
    // value stays for the next run.
    dialogs.messages.clear();
    makePrinterDialog({{QStringLiteral("Alpha"), QStringLiteral("Beta")}, QString()}, 3);
    print(form->SpeedButton5, std::nullopt, true);
    EXPECT_EQ(dialogs.messages, QStringList(kNoDefaultPrinter));
    EXPECT_EQ(form->PrinterIndex, 3);
    EXPECT_TRUE(form->isEnabled());
}

} // namespace
} // namespace pelvano::test
