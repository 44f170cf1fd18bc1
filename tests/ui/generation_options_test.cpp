// The two optional ways of making the pattern in the window: their check boxes below the shade
// limit, the run each combination asks for, and their own settings group.
#include "engine/generation.h"
#include "io/picture_input.h"
#include "ui/settings_store.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>

namespace pelvano::test {
namespace {

const QString kRose = CorpusFile("photos/rose-70x46.bmp");

using GenerationOptionsTest = StoredSettingsFormTest;

TEST_F(GenerationOptionsTest, CheckBoxesChooseTheRunAndAreRememberedApart) {
    // In the limit's group, below it, off on a first run, with the whole panel in the window.
    for (QCheckBox* box : {form->CheckBox6, form->CheckBox7}) {
        EXPECT_EQ(box->parentWidget(), form->GroupBox1);
        EXPECT_FALSE(box->isChecked());
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
        EXPECT_LE(box->sizeHint().height(), box->height()) << box->text().toStdString();
    }
    EXPECT_EQ(form->CheckBox6->text(), "Цвет по восприятию");
    EXPECT_EQ(form->CheckBox7->text(), "Убрать одиночные\nкрестики");
    EXPECT_GT(form->CheckBox6->y(), form->Edit4->geometry().bottom());
    EXPECT_GT(form->CheckBox7->y(), form->CheckBox6->geometry().bottom());
    EXPECT_LT(form->CheckBox7->geometry().bottom(), form->GroupBox1->height() - 4);
    EXPECT_LT(form->GroupBox1->geometry().bottom(), form->GroupBox2->y());
    EXPECT_LT(form->GroupBox2->geometry().bottom(), form->Button1->y());
    EXPECT_LT(form->ProgressBar1->geometry().bottom(), form->minimumHeight());

    // Each combination gives exactly the engine's pattern for it.
    openPicture(kRose);
    std::vector<std::uint32_t> plainGrid;
    for (const bool perceptual : {false, true}) {
        for (const bool clean : {false, true}) {
            form->CheckBox6->setChecked(perceptual);
            form->CheckBox7->setChecked(clean);
            generate();
            GenerationRequest request;
            request.picture = ToRasterView(form->Image2);
            request.columnCount = form->ColumnCount;
            request.rowCount = form->RowCount;
            request.shadeLimitText = "30";
            request.limitShades = true;
            request.windowState = 1;
            request.perceptual = perceptual;
            request.cleanConfetti = clean;
            const auto expected = std::get<GenerationResult>(RunGeneration(request, {}));
            SCOPED_TRACE(testing::Message() << "perceptual " << perceptual << ", clean " << clean);
            EXPECT_EQ(form->Pattern.patternGrid, expected.pattern.patternGrid);
            EXPECT_EQ(form->Pattern.exactGrid, expected.pattern.exactGrid);
            EXPECT_EQ(form->Label13->text().toStdString(), expected.shadeLabel);
            if (!perceptual && !clean)
                plainGrid = expected.pattern.patternGrid;
            else
                EXPECT_NE(expected.pattern.patternGrid, plainGrid);
        }
    }
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();

    // Remembered in their own group; the 22 values stay the only ones outside it.
    form->CheckBox7->setChecked(false);
    restart();
    QSettings store(storeFile, QSettings::IniFormat);
    EXPECT_EQ(store.childKeys().size(), 22);
    EXPECT_EQ(store.value("Generation/Perceptual"), QVariant("1"));
    EXPECT_EQ(store.value("Generation/CleanConfetti"), QVariant("0"));
    EXPECT_TRUE(form->CheckBox6->isChecked());
    EXPECT_FALSE(form->CheckBox7->isChecked());
    // A value that is not a number gives the plain run, without a message.
    form->close();
    form.reset();
    store.setValue("Generation/Perceptual", "yes");
    store.setValue("Generation/CleanConfetti", "2");
    store.sync();
    FormTest::SetUp();
    EXPECT_FALSE(form->CheckBox6->isChecked());
    EXPECT_TRUE(form->CheckBox7->isChecked());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

} // namespace
} // namespace pelvano::test
