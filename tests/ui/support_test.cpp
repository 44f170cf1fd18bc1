// The window's small helpers: the error guard, the dialog folder rule, filters, the open dialog's
// preview and key rules.
#include "ui/error_guard.h"
#include "ui/folder_of.h"
#include "ui/key_filters.h"
#include "ui/picture_preview.h"
#include "ui/picture_view.h"
#include "ui_test_support.h"

#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

namespace pelvano::test {
namespace {

TEST(ErrorGuardTest, NestedErrorsEndTheOuterHandlerAndAreShownOnce) {
    ScriptedDialogs dialogs;
    ErrorGuard guard(dialogs, nullptr);
    QStringList steps;
    guard.run([&] {
        steps << "outer";
        // A handler raised by a control write inside the outer one.
        guard.run([&] {
            steps << "inner";
            throw UserError(QStringLiteral("'x' is not a valid integer value"));
        });
        guard.rethrowPending();
        steps << "after the write";
    });
    EXPECT_EQ(steps, QStringList({"outer", "inner"}));
    EXPECT_EQ(dialogs.messages, QStringList({"'x' is not a valid integer value"}));

    guard.run([] { throw std::bad_alloc(); });
    guard.run([] { throw std::runtime_error("Ошибка"); });
    guard.run([] { throw 42; });
    EXPECT_EQ(dialogs.messages.mid(1), QStringList({"Out of memory", "Ошибка", "Unknown error"}));
    EXPECT_FALSE(guard.busy());
    guard.run([&] { steps << "runs again"; });
    EXPECT_EQ(steps.back(), "runs again");
}

TEST(DialogFolderTest, FolderWithoutTrailingSeparatorExceptAtTheRoot) {
    EXPECT_EQ(DialogFolderOf("/home/anna/pics/rose.bmp"), "/home/anna/pics");
    EXPECT_EQ(DialogFolderOf("/rose.bmp"), "/");
    EXPECT_EQ(DialogFolderOf("/home/anna/my.pics/rose"), "/home/anna/my.pics");
    EXPECT_EQ(DialogFolderOf("rose.bmp"), "");
}

TEST(DialogFiltersTest, FilterPairsBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters("Картинки (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp"),
              QStringList({"Картинки (*.jpg *.jpeg *.bmp)"}));
    EXPECT_EQ(QtNameFilters("Картинка (*.bmp)|*.bmp|Картинка (*.jpg)|*.jpg"),
              QStringList({"Картинка (*.bmp)", "Картинка (*.jpg)"}));
    EXPECT_EQ(PlainLineBreaks("a\r\nb\n\rc"), "a\nb\nc");
}

TEST(PicturePreviewTest, FollowsTheFileHoweverItIsChosen) {
    QTemporaryDir folder;
    QTemporaryDir other;
    const QString cat = QDir(folder.path()).filePath(QStringLiteral("cat.bmp"));
    const QString dog = QDir(other.path()).filePath(QStringLiteral("dog.bmp"));
    ASSERT_TRUE(QImage(40, 20, QImage::Format_RGB888).save(cat));
    ASSERT_TRUE(QImage(10, 30, QImage::Format_RGB888).save(dog));

    QFileDialog dialog(nullptr, QString(), folder.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* preview = new PicturePreview(&dialog);
    FollowCurrentFile(dialog, *preview);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setFocus(); // as while the user types there; the dialog then leaves the name alone

    QTest::keyClicks(name, QStringLiteral("ca")); // not a file yet
    EXPECT_EQ(preview->shownFile(), QString());
    QTest::keyClicks(name, QStringLiteral("t.bmp"));
    EXPECT_EQ(preview->shownFile(), cat);
    name->setText(dog); // a whole path, as completion fills it in
    EXPECT_EQ(preview->shownFile(), dog);
    name->setText(QStringLiteral("cat.bmp"));
    // Entering another folder keeps the name, which now means a file that is not there.
    dialog.setDirectory(other.path());
    emit dialog.directoryEntered(other.path());
    EXPECT_EQ(preview->shownFile(), QString());
}

TEST(KeyFiltersTest, OnlyTypingIsFiltered) {
    auto typed = [](int key, const QString& text, Qt::KeyboardModifiers modifiers = {}) {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        return IsTypedCharacter(event);
    };
    EXPECT_TRUE(typed(Qt::Key_A, "a"));
    EXPECT_TRUE(typed(Qt::Key_Backspace, "\b"));
    EXPECT_FALSE(typed(Qt::Key_V, "\x16", Qt::ControlModifier)); // paste is a shortcut
    EXPECT_FALSE(typed(Qt::Key_Delete, "\x7f"));
    EXPECT_FALSE(typed(Qt::Key_Tab, "\t"));
    EXPECT_FALSE(typed(Qt::Key_Return, "\r"));
    EXPECT_FALSE(typed(Qt::Key_Left, ""));

    EXPECT_TRUE(AcceptsIntegerKey('0'));
    EXPECT_TRUE(AcceptsIntegerKey('9'));
    EXPECT_TRUE(AcceptsIntegerKey('\b'));
    EXPECT_FALSE(AcceptsIntegerKey(','));
    EXPECT_FALSE(AcceptsIntegerKey('-'));
    EXPECT_FALSE(AcceptsIntegerKey(QChar(0x0663))); // an Arabic-Indic three is not a digit here
    EXPECT_TRUE(AcceptsCommaDecimalKey(',', "17"));
    EXPECT_FALSE(AcceptsCommaDecimalKey(',', "1,7"));
    EXPECT_FALSE(AcceptsCommaDecimalKey('.', "17"));
    EXPECT_TRUE(AcceptsCommaDecimalKey('\b', "1,7"));
}

TEST(ShrinkPictureTest, ShrinkingAveragesFineDetailInsteadOfPickingPixels) {
    // One-pixel stripes, as the grid lines of a pattern are: shrunk eightfold (and by an uneven
    // 2.4) they must turn grey, never into solid black or white, and painting the picture in
    // parts, as a scrolled view does, must give the same pixels as painting it whole.
    QImage stripes(801, 400, QImage::Format_BGR888);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixelColor(x, y, x % 2 ? Qt::white : Qt::black);
    for (const QSize size : {QSize(100, 50), QSize(334, 167)}) {
        QImage whole(size, QImage::Format_RGB32);
        QImage parts(size, QImage::Format_RGB32);
        {
            QPainter painter(&whole);
            PaintScaledPart(painter, stripes, size, QRect(QPoint(0, 0), size));
        }
        {
            QPainter painter(&parts);
            for (const QRect part :
                 {QRect(0, 0, 37, size.height()), QRect(37, 0, size.width() - 37, 23),
                  QRect(37, 23, size.width() - 37, size.height() - 23)})
                PaintScaledPart(painter, stripes, size, part);
        }
        for (int y = 0; y < size.height(); y += 7)
            for (int x = 0; x < size.width(); x += 3) {
                EXPECT_NEAR(whole.pixelColor(x, y).red(), 128, 40) << x << "," << y;
                EXPECT_EQ(whole.pixel(x, y), parts.pixel(x, y)) << x << "," << y;
            }
    }
}

} // namespace
} // namespace pelvano::test
