// Pictures dropped from a file manager and the keyboard shortcuts of the tool buttons.
#include "ui/command_line_picture.h"
#include "ui/form5.h"
#include "ui_test_support.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

namespace pelvano::test {
namespace {

// Without "..", so that the expected folders can be written plainly.
const QString kRose = QFileInfo(CorpusFile("photos/rose-70x46.bmp")).canonicalFilePath();
const QString kHopper =
    QFileInfo(CorpusFile("photos/grace-hopper-512x600.jpg")).canonicalFilePath();

class DesktopTest : public FormTest {
protected:
    // Drags `urls` over the window and lets go; true when the window took the drag.
    bool drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = form->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        const bool entered = enter.isAccepted();
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &dropped);
        QApplication::processEvents();
        return entered && dropped.isAccepted();
    }
    bool drop(const QString& path) { return drop({QUrl::fromLocalFile(path)}); }

    bool exportButtonsEnabled() const {
        return form->SpeedButton2->isEnabled() && form->SpeedButton3->isEnabled() &&
               form->SpeedButton4->isEnabled() && form->SpeedButton5->isEnabled();
    }
};

TEST_F(DesktopTest, DroppedPictureOpensLikeTheOpenCommand) {
    ASSERT_TRUE(drop(kRose));
    EXPECT_TRUE(dialogs.openRequests.empty()); // no dialog: the drop chose the file
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->Image2.size(), QSize(70, 46));
    EXPECT_EQ(form->windowTitle(), kWindowTitle + QStringLiteral(": ") + kRose);
    EXPECT_EQ(form->OpenDir, QFileInfo(kRose).path());
    EXPECT_EQ(form->TabControl1->tabIndex(), 0);

    // Over a generated pattern: the earlier results go and the buttons are disabled again.
    generate();
    ASSERT_EQ(form->Tag, 2);
    ASSERT_TRUE(exportButtonsEnabled());
    ASSERT_TRUE(drop(kHopper));
    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->Image2.size(), QSize(512, 600));
    EXPECT_TRUE(form->Image4.isNull());
    EXPECT_TRUE(form->KeyImage.isNull() || form->KeyImage.size().isEmpty());
    EXPECT_FALSE(form->SpeedButton2->isEnabled());
    EXPECT_FALSE(form->SpeedButton5->isEnabled());
    EXPECT_EQ(form->Label13->text(), kNoShadesLabel);
    EXPECT_EQ(form->TabControl1->tabIndex(), 0);

    // The open dialog then starts in the dropped file's folder.
    dialogs.openAnswers.push_back(QString());
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].folder, QFileInfo(kHopper).path());
}

TEST_F(DesktopTest, BrokenDropReportsTheOpenCommandsErrorAndKeepsThePicture) {
    ASSERT_TRUE(drop(kRose));
    const QString title = form->windowTitle();
    // The same files through the dialog and by drop give the same messages.
    for (const char* broken : {"broken/jpeg-named.bmp", "broken/text-named.jpg", "broken/empty.bmp",
                               "broken/no-such-file.bmp"}) {
        const QString path = CorpusFile(broken);
        openPicture(path);
        ASSERT_EQ(dialogs.messages.size(), 1) << broken;
        const QString viaDialog = dialogs.messages.takeFirst();
        drop(path);
        ASSERT_EQ(dialogs.messages.size(), 1) << broken;
        EXPECT_EQ(dialogs.messages.takeFirst(), viaDialog) << broken;
        EXPECT_EQ(form->Tag, 1) << broken;
        EXPECT_EQ(form->windowTitle(), title) << broken;
        EXPECT_EQ(form->OpenDir, QFileInfo(kRose).path()) << broken;
    }
}

TEST_F(DesktopTest, OnlyASingleLocalFileIsTaken) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_FALSE(drop({QUrl::fromLocalFile(kRose), QUrl::fromLocalFile(kHopper)}));
    EXPECT_FALSE(drop(folder.path()));
    EXPECT_FALSE(drop({QUrl(QStringLiteral("https://example.org/rose.bmp"))}));
    EXPECT_FALSE(drop(QList<QUrl>{}));
    QMimeData text;
    text.setText(kRose);
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QApplication::processEvents();
    EXPECT_EQ(form->Tag, 0);
    EXPECT_EQ(form->windowTitle(), kWindowTitle);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DesktopTest, ShortcutsPressTheirButtonsOnlyWhileEnabled) {
    EXPECT_EQ(form->SpeedButton1->toolTip(), QStringLiteral("Открыть картинку (Ctrl+O)"));
    EXPECT_EQ(form->SpeedButton2->toolTip(),
              QStringLiteral("Сохранить схему как картинку (Ctrl+S)"));
    EXPECT_EQ(form->SpeedButton3->toolTip(),
              QStringLiteral("Сохранить ключ как картинку (Ctrl+Shift+S)"));
    EXPECT_EQ(form->SpeedButton4->toolTip(), QStringLiteral("Печатать схему (Ctrl+P)"));
    EXPECT_EQ(form->SpeedButton5->toolTip(), QStringLiteral("Печатать ключ (Ctrl+Shift+P)"));

    form->Form5 = new TForm5({{QStringLiteral("Alpha")}, QStringLiteral("Alpha")},
                             form->PrinterIndex, form.get());
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(form.get(), key, modifiers);
        QApplication::processEvents();
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

    // Nothing to save or print yet: these keys ask nothing (a dialog would fail the test).
    press(Qt::Key_S, ctrl);
    press(Qt::Key_S, ctrlShift);
    press(Qt::Key_P, ctrl);
    press(Qt::Key_P, ctrlShift);

    dialogs.openAnswers.push_back(kRose);
    press(Qt::Key_O, ctrl);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].title, kOpenPictureTitle);
    ASSERT_EQ(form->Tag, 1);
    generate();
    ASSERT_EQ(form->Tag, 2);

    // Each key saves or prints its own picture.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString patternFile = QDir(folder.path()).filePath(QStringLiteral("pattern.bmp"));
    const QString keyFile = QDir(folder.path()).filePath(QStringLiteral("key.bmp"));
    dialogs.saveAnswers.push_back({patternFile, 1});
    press(Qt::Key_S, ctrl);
    dialogs.saveAnswers.push_back({keyFile, 1});
    press(Qt::Key_S, ctrlShift);
    EXPECT_EQ(QImage(patternFile).size(), form->Image4.size());
    EXPECT_EQ(QImage(keyFile).size(), form->KeyImage.size());
    EXPECT_NE(form->Image4.size(), form->KeyImage.size());

    dialogs.printerAnswers.push_back({std::nullopt, false});
    press(Qt::Key_P, ctrl);
    dialogs.printerAnswers.push_back({std::nullopt, false});
    press(Qt::Key_P, ctrlShift);
    EXPECT_EQ(dialogs.printerCaptions, QStringList({kPrintPatternCaption, kPrintKeyCaption}));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
}

TEST(CommandLinePicture, FullPathOfTheFirstArgument) {
    EXPECT_EQ(CommandLinePicture({QStringLiteral("pelvano")}), QString());
    EXPECT_EQ(CommandLinePicture({}), QString());
    EXPECT_EQ(CommandLinePicture({QStringLiteral("pelvano"), QString()}), QString());
    EXPECT_EQ(CommandLinePicture({QStringLiteral("pelvano"), QStringLiteral("--help")}), QString());
    EXPECT_EQ(CommandLinePicture({QStringLiteral("pelvano"), QStringLiteral("./-x.jpg")}),
              QDir::current().absoluteFilePath(QStringLiteral("-x.jpg")));
    EXPECT_EQ(CommandLinePicture({QStringLiteral("pelvano"), QStringLiteral("/pics/a b.jpg")}),
              QStringLiteral("/pics/a b.jpg"));
    // Relative to the folder the program was started in, without "." and "..".
    EXPECT_EQ(CommandLinePicture({QStringLiteral("pelvano"), QStringLiteral("photo.BMP")}),
              QDir::current().absoluteFilePath(QStringLiteral("photo.BMP")));
    EXPECT_EQ(CommandLinePicture({QStringLiteral("pelvano"), QStringLiteral("./x/../y.jpg")}),
              QDir::current().absoluteFilePath(QStringLiteral("y.jpg")));
    // An address from a desktop that passes URLs, with its escapes undone.
    EXPECT_EQ(CommandLinePicture(
                  {QStringLiteral("pelvano"), QStringLiteral("file:///pics/%D1%84%20x.jpg")}),
              QStringLiteral("/pics/ф x.jpg"));
}

} // namespace
} // namespace pelvano::test
