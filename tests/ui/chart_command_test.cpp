// The chart to stitch from through the window: its tool button, the options, the PDF file and the
// choices remembered between runs.
#include "ui/chart_options_dialog.h"
#include "ui/settings_store.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace pelvano::test {
namespace {

const QString kRose = CorpusFile("photos/rose-70x46.bmp");

bool operator==(const ChartSettings& a, const ChartSettings& b) {
    return a.paper == b.paper && a.cellMm == b.cellMm && a.strands == b.strands &&
           a.colour == b.colour;
}

using ChartCommandTest = StoredSettingsFormTest;

TEST_F(ChartCommandTest, ButtonOptionsAndTheFileNameRulesWriteTheChart) {
    EXPECT_EQ(form->SpeedButton6->geometry(), QRect(124, 2, 23, 22));
    EXPECT_EQ(form->SpeedButton6->toolTip(), "Сохранить схему для вышивания (PDF) (Ctrl+E)");
    EXPECT_FALSE(form->SpeedButton6->icon().isNull());
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto ctrlE = [this] { QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier); };
    // Nothing to chart yet, with no picture or only a picture: no dialog comes up.
    ctrlE();
    openPicture(kRose);
    EXPECT_FALSE(form->SpeedButton6->isEnabled());
    ctrlE();
    generate();
    ASSERT_EQ(form->Tag, 2);
    EXPECT_TRUE(form->SpeedButton6->isEnabled());

    // Cancelling the options asks for no file.
    dialogs.chartAnswers.push_back(std::nullopt);
    ctrlE();
    ASSERT_EQ(dialogs.chartOffers.size(), 1u);
    EXPECT_TRUE(dialogs.chartOffers[0] == ChartSettings{});

    QTemporaryDir dir;
    const QString chart = QDir(dir.path()).filePath("chart.pdf");
    QFile old(chart);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    const QString savedBefore = form->SaveDir;
    const ChartSettings letter{QPageSize::Letter, 2.5, 3, true};

    // "chart.jpg" means chart.pdf; "no" shows the dialog again, and cancelling there writes
    // nothing.
    dialogs.chartAnswers.push_back(letter);
    dialogs.saveAnswers = {{QDir(dir.path()).filePath("chart.jpg"), 1}, {}};
    dialogs.yesNoAnswers = {false};
    QTest::mouseClick(form->SpeedButton6, Qt::LeftButton);
    EXPECT_EQ(dialogs.questions, QStringList({"Вопрос: Файл \"chart.pdf\" уже существует. "
                                              "Перезаписать ?"}));
    EXPECT_TRUE(dialogs.saveAnswers.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"chart.pdf"}));
    EXPECT_EQ(ReadPdfInfo(chart).pages, 0);
    EXPECT_EQ(form->SaveDir, savedBefore);

    // The choices made last are offered again; "yes" replaces the file with the chart.
    dialogs.chartAnswers.push_back(letter);
    dialogs.saveAnswers = {{QDir(dir.path()).filePath("chart"), 1}};
    dialogs.yesNoAnswers = {true};
    QTest::mouseClick(form->SpeedButton6, Qt::LeftButton);
    ASSERT_EQ(dialogs.chartOffers.size(), 3u);
    EXPECT_TRUE(dialogs.chartOffers[2] == letter);
    const PdfInfo info = ReadPdfInfo(chart);
    EXPECT_GT(info.pages, 2); // cover, pattern, key
    EXPECT_EQ(info.size, QSizeF(612, 792));
    EXPECT_EQ(info.title, "rose-70x46.bmp");
    EXPECT_EQ(form->SaveDir, dir.path());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();

    // A file that cannot be written is reported and the folder stays.
    dialogs.chartAnswers.push_back(letter);
    dialogs.saveAnswers = {{QDir(dir.path()).filePath("missing/chart.pdf"), 1}};
    QTest::mouseClick(form->SpeedButton6, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("chart.pdf")) << dialogs.messages[0].toStdString();
    EXPECT_EQ(form->SaveDir, dir.path());
}

TEST_F(ChartCommandTest, TooManyThreadsAreRefusedBeforeAnythingIsAsked) {
    openPicture(CorpusFile("photos/grace-hopper-512x600.jpg"));
    form->CheckBox1->setChecked(false);
    generate();
    ASSERT_GT(form->Pattern.usedColors.size(), 120u);
    dialogs.messages.clear();
    QTest::mouseClick(form->SpeedButton6, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("120")) << dialogs.messages[0].toStdString();
    EXPECT_TRUE(dialogs.chartOffers.empty());
}

TEST_F(ChartCommandTest, ChoicesAreKeptInTheirOwnGroupAndShownByTheDialog) {
    const ChartSettings chosen{QPageSize::Letter, 4.5, 6, true};
    ChartOptionsDialog dialog(chosen);
    EXPECT_EQ(dialog.windowTitle(), "Схема для вышивания");
    EXPECT_TRUE(dialog.PaperBox->currentText().startsWith("Letter"));
    EXPECT_EQ(dialog.CellBox->text(), "4,5 мм");
    EXPECT_EQ(dialog.StrandsBox->currentText(), "6");
    EXPECT_EQ(dialog.ColourBox->text(), "Клетки в цвете ниток");
    EXPECT_TRUE(dialog.settings() == chosen);
    ChartOptionsDialog fresh{ChartSettings{}};
    EXPECT_TRUE(fresh.settings() == ChartSettings{});
    EXPECT_EQ(fresh.CellBox->text(), "3,0 мм");
    fresh.CellBox->setValue(9);
    EXPECT_EQ(fresh.CellBox->value(), 6);

    // The window's own values, as its first close writes them.
    restart();
    QSettings store(storeFile, QSettings::IniFormat);
    const QStringList windowKeys = store.allKeys();
    ASSERT_EQ(store.childKeys().size(), 22);
    QVariantList windowValues;
    for (const QString& key : windowKeys)
        windowValues << store.value(key);

    openPicture(kRose);
    generate();
    dialogs.chartAnswers.push_back(chosen);
    dialogs.saveAnswers.push_back({});
    QTest::mouseClick(form->SpeedButton6, Qt::LeftButton);
    store.sync();
    EXPECT_EQ(store.value("Chart/Paper"), QVariant("Letter"));
    EXPECT_EQ(store.value("Chart/CellMm"), QVariant("4.5"));
    EXPECT_EQ(store.value("Chart/Strands"), QVariant("6"));
    EXPECT_EQ(store.value("Chart/Colour"), QVariant("1"));
    EXPECT_EQ(store.allKeys().size(), windowKeys.size() + 4);
    for (qsizetype i = 0; i < windowKeys.size(); ++i)
        EXPECT_EQ(store.value(windowKeys[i]), windowValues[i]) << windowKeys[i].toStdString();

    restart();
    EXPECT_TRUE(form->ChartOptions == chosen);
    // Values that cannot be used give the defaults.
    store.setValue("Chart/Paper", "A3");
    store.setValue("Chart/CellMm", "12");
    store.setValue("Chart/Strands", "two");
    store.sync();
    restart();
    EXPECT_TRUE(form->ChartOptions == (ChartSettings{QPageSize::A4, 3, 0, true}));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

} // namespace
} // namespace pelvano::test
