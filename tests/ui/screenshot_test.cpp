// Grabs the window after a generation run into the test output folder, for a person to look at.
#include "ui_test_support.h"

#include <QRadioButton>
#include <QTest>

namespace pelvano::test {
namespace {

using ScreenshotTest = FormTest;

TEST_F(ScreenshotTest, WindowAfterAGenerationRun) {
    openPicture(CorpusFile("photos/grace-hopper-512x600.jpg"));
    form->RadioButton5->setChecked(true);
    generate();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    QApplication::processEvents();
    const QImage shot = form->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString path = TestOutputFile("ui-window-after-run.png");
    EXPECT_TRUE(shot.save(path)) << path.toStdString();

    form->RadioButton6->setChecked(true);
    QApplication::processEvents();
    EXPECT_TRUE(form->grab().toImage().save(TestOutputFile("ui-window-natural-size.png")));
}

} // namespace
} // namespace pelvano::test
