// Opening pictures and generating patterns through the window, with the refusals, the option
// redraws and what an open clears.
#include "engine/real.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <cstdio>

namespace pelvano::test {
namespace {

using CommandsTest = FormTest;

const QString kRose = CorpusFile("photos/rose-70x46.bmp");
const QString kGrace = CorpusFile("photos/grace-hopper-512x600.jpg");

void expectExportButtons(const TForm1& f, bool enabled) {
    for (QToolButton* b : {f.SpeedButton2, f.SpeedButton3, f.SpeedButton4, f.SpeedButton5})
        EXPECT_EQ(b->isEnabled(), enabled) << b->objectName().toStdString();
}

int gridSide(int cells) {
    return 19 * cells + cells / 5 + cells / 10 + 1;
}

TEST_F(CommandsTest, OpenGenerateRedrawAndOpenAgain) {
    openPicture(kRose);
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].title, "Открываем картинку для создания схемы");
    EXPECT_EQ(dialogs.openRequests[0].filter, kOpenPictureFilter);
    EXPECT_TRUE(kOpenPictureFilter.startsWith(
        "Картинки (*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff;*.webp)|"));
    EXPECT_EQ(dialogs.openRequests[0].folder, "");
    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->Image2.size(), QSize(70, 46));
    EXPECT_EQ(form->Image2.format(), QImage::Format_BGR888);
    EXPECT_EQ(form->PictureAspect, 70.0L / 46.0L);
    EXPECT_EQ(form->windowTitle(), " Создаватель схем для вышивки: " + kRose);
    EXPECT_EQ(form->OpenDir, QFileInfo(kRose).path());
    EXPECT_EQ(form->TabControl1->tabIndex(), 0);
    EXPECT_EQ(form->Image1->picture().size(), QSize(70, 46));
    // 150 mm wide in the picture's proportions: 150 * 46 / 70 = 98.6 mm high.
    EXPECT_EQ(form->Edit1->text(), "99");
    EXPECT_EQ(form->Edit5->text(), "58");
    expectExportButtons(*form, false);

    // At natural size the picture shows at the embroidery's width on the screen.
    const int realWidth = RoundHalfUp(88 * 1.7L * form->screenPixelsPerMm());
    EXPECT_EQ(form->Image1->imageWidth(), realWidth);
    EXPECT_EQ(form->Image1->imageHeight(), RoundHalfUp(realWidth / form->PictureAspect));
    // ... and the grid tabs have nothing to show before a run.
    form->TabControl1->tabBar()->setCurrentIndex(1);
    EXPECT_EQ(form->Image1->imageWidth(), 0);

    generate();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->Tag, 2);
    EXPECT_EQ(form->TabControl1->tabIndex(), 2);
    EXPECT_TRUE(form->Button1->isEnabled());
    expectExportButtons(*form, true);
    EXPECT_TRUE(QRegularExpression("^Оттенков: \\d+ \\(из \\d+\\)$")
                    .match(form->Label13->text())
                    .hasMatch())
        << form->Label13->text().toStdString();
    EXPECT_EQ(form->Pattern.columns, 88);
    EXPECT_EQ(form->Pattern.rows, 58);
    EXPECT_LE(form->Pattern.shadeCount, 30);
    EXPECT_EQ(form->Image3.size(), QSize(9 * 88, 9 * 58));
    EXPECT_EQ(form->Image4.size(), QSize(gridSide(88), gridSide(58)));
    EXPECT_EQ(form->KeyImage.size(), QSize(633, 895));
    EXPECT_EQ(form->Image1->picture().size(), form->Image4.size());
    EXPECT_EQ(form->Image1->imageWidth(), realWidth);

    // The key tab shows the key at its own size, also in fit mode.
    form->RadioButton5->setChecked(true);
    form->TabControl1->tabBar()->setCurrentIndex(3);
    EXPECT_EQ(form->Image1->imageWidth(), 633);
    EXPECT_EQ(form->Image1->imageHeight(), 895);
    EXPECT_EQ(form->ScrollBox1->vertRange(), 895);

    // Options redraw from the stored run.
    form->CheckBox2->setChecked(false);
    EXPECT_EQ(form->Image4.size(), QSize(18 * 88, 18 * 58));
    form->CheckBox3->setChecked(false);
    EXPECT_TRUE(form->CheckBox4->isEnabled());
    EXPECT_FALSE(form->CheckBox5->isEnabled());
    EXPECT_EQ(form->KeyImage.size(), QSize(633, 895));

    // Another picture throws the results away.
    openPicture(kGrace);
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->TabControl1->tabIndex(), 0);
    EXPECT_TRUE(form->Image3.isNull());
    EXPECT_TRUE(form->Image4.isNull());
    EXPECT_TRUE(form->KeyImage.isNull());
    EXPECT_TRUE(form->Pattern.empty());
    EXPECT_EQ(form->Label13->text(), "Оттенков: 0 (из 0)");
    expectExportButtons(*form, false);
    EXPECT_EQ(dialogs.openRequests.back().folder, QFileInfo(kRose).path());
    // With no pattern an option change draws nothing.
    form->CheckBox2->setChecked(true);
    EXPECT_TRUE(form->Image4.isNull());
}

TEST_F(CommandsTest, RefusedRunsSayWhyAndKeepThePreviousPattern) {
    generate();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], "Сначала надо открыть картинку");
    EXPECT_TRUE(form->Button1->isEnabled());

    openPicture(kRose);
    generate();
    ASSERT_EQ(form->Tag, 2);
    const std::vector<std::uint32_t> pattern = form->Pattern.patternGrid;
    const QImage image = form->Image4;
    const QString label = form->Label13->text();
    dialogs.messages.clear();

    form->Edit4->setText("1");
    generate();
    form->Edit4->setText("");
    generate();
    form->Edit4->setText("30");
    form->Edit3->setText("10");
    form->Edit7->setText("10");
    form->Edit2->setText("15"); // one row of 10 mm
    generate();
    const QStringList expected = {
        "Количество оттенков должно быть больше 1", "'' is not a valid integer value",
        "Слишком большой размер крестика\r\nили маленький размер вышивки. Поменяй циферки."};
    EXPECT_EQ(dialogs.messages, expected);
    EXPECT_EQ(form->Tag, 2);
    EXPECT_EQ(form->Pattern.patternGrid, pattern);
    EXPECT_EQ(form->Image4, image);
    EXPECT_EQ(form->Label13->text(), label);
    EXPECT_TRUE(form->Button1->isEnabled());
    expectExportButtons(*form, true);

    // A grid far beyond memory is refused as well; the window stays usable.
    dialogs.messages.clear();
    form->Edit3->setText("0,01");
    form->Edit2->setText("99999");
    generate();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(form->Pattern.patternGrid, pattern);
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_EQ(form->Tag, 2);
    // The real-size view of the kept pattern is now far wider than any screen; it still paints.
    EXPECT_GT(form->Image1->width(), 100000);
    EXPECT_FALSE(form->grab().isNull());

    // Enter presses the generate button.
    dialogs.messages.clear();
    form->Edit3->setText("1,7");
    form->Edit7->setText("1,7");
    form->Edit2->setText("150");
    QTest::keyClick(form->Edit2, Qt::Key_Return);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->Pattern.columns, 88);
}

TEST_F(CommandsTest, FailedOrCancelledOpensChangeNothing) {
    openPicture(kRose);
    generate();
    ASSERT_EQ(form->Tag, 2);
    const QString title = form->windowTitle();
    const QImage source = form->Image2;
    const QString folder = form->OpenDir;

    dialogs.openAnswers.push_back(QString()); // cancelled
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    const QString notThere = QDir::temp().filePath("pelvano-no-such-picture.jpg");
    openPicture(notThere);
    openPicture(CorpusFile("photos/picos-cmyk.jpg"));
    // A JPEG named .bmp is not a bitmap.
    const QString jpegAsBmp = QDir::temp().filePath("pelvano-jpeg-named.bmp");
    QFile::remove(jpegAsBmp);
    ASSERT_TRUE(QFile::copy(kGrace, jpegAsBmp));
    openPicture(jpegAsBmp);
    QFile::remove(jpegAsBmp);

    ASSERT_EQ(dialogs.messages.size(), 3) << dialogs.messages.join('\n').toStdString();
    EXPECT_TRUE(dialogs.messages[0].startsWith("Cannot open file"));
    EXPECT_TRUE(dialogs.messages[1].startsWith("JPEG error #"));
    EXPECT_EQ(dialogs.messages[2], "Bitmap image is not valid");
    EXPECT_EQ(form->Tag, 2);
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_EQ(form->Image2, source);
    EXPECT_EQ(form->OpenDir, folder);
    EXPECT_EQ(form->TabControl1->tabIndex(), 2);
    EXPECT_FALSE(form->Image4.isNull());
    expectExportButtons(*form, true);
}

TEST_F(CommandsTest, MoreShadesThanSymbolsWarnsAndNoSecondRunStartsMeanwhile) {
    openPicture(kGrace);
    form->CheckBox1->setChecked(false);
    bool buttonWasEnabled = true;
    int runsBefore = -1;
    dialogs.onMessage = [&](const QString&) {
        // The warning comes in the middle of the run: pressing the button again does nothing.
        buttonWasEnabled = form->Button1->isEnabled();
        runsBefore = static_cast<int>(dialogs.messages.size());
        form->Button1->click();
        form->Button1Click();
    };
    generate();
    dialogs.onMessage = nullptr;
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], "Оттенков больше, чем значков.\n\rРекомендую ограничить число "
                                   "оттенков до 120.");
    EXPECT_FALSE(buttonWasEnabled);
    EXPECT_EQ(runsBefore, 1);
    EXPECT_GT(form->Pattern.shadeCount, 120);
    EXPECT_EQ(form->Tag, 2);
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_EQ(form->KeyImage.size(), QSize(633, 895));
}

// Not a speed test: it records how long a big photo takes from the button to the pattern on
// screen, for the reviewers' notes.
TEST_F(CommandsTest, BigPhotoToPatternOnScreen) {
    // PELVANO_TIMING_PHOTO names another photo to time (its size decides the cross height).
    QString photo = qEnvironmentVariable("PELVANO_TIMING_PHOTO");
    if (photo.isEmpty())
        photo = CorpusFile("photos/seeding-5312x2988-progressive.jpg");
    QElapsedTimer opening;
    opening.start();
    openPicture(photo);
    const qint64 openMs = opening.elapsed();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    form->RadioButton3->setChecked(true);
    // 200 columns of 1,7 mm are 340 mm; pick the cross height that gives 150 rows.
    const int height = RoundHalfUp(340 / form->PictureAspect);
    form->Edit7->setText(QString::number(height / 150.0, 'f', 2).replace('.', ','));
    form->Edit6->setText("200");
    ASSERT_EQ(form->ColumnCount, 200);
    ASSERT_EQ(form->RowCount, 150);

    QElapsedTimer running;
    running.start();
    generate();
    QApplication::processEvents();
    const qint64 runMs = running.elapsed();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->Tag, 2);
    EXPECT_EQ(form->Image4.size(), QSize(gridSide(200), gridSide(150)));
    std::printf("[ timing ] %d x %d photo: open %lld ms; 200 x 150 cells, button to pattern on "
                "screen %lld ms\n",
                form->Image2.width(), form->Image2.height(), static_cast<long long>(openMs),
                static_cast<long long>(runMs));
}

} // namespace
} // namespace pelvano::test
