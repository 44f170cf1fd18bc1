// The picture view: fitting into the window, natural size with centring and scroll ranges, the
// wheel, and the small handlers of the window.
#include "ui_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace pelvano::test {
namespace {

using ViewTest = FormTest;

QRect imagePlace(const TForm1& f) {
    return {f.Image1->left(), f.Image1->top(), f.Image1->imageWidth(), f.Image1->imageHeight()};
}

// A wheel event as the window system delivers it: to the control under the pointer, passed on
// to its parents while they ignore it.
void wheel(QWidget* target, QPoint at, int delta) {
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(target, &event); // sendEvent would clear the mark
}

TEST_F(ViewTest, FirstRunWindowPlaceModeAndControls) {
    EXPECT_EQ(form->windowTitle(), " Создаватель схем для вышивки");
    EXPECT_EQ(form->pos(), QPoint(80, 80));
    // The first-run height lies one pixel below the smallest height, which Qt also applies to
    // the program's own resizing.
    EXPECT_EQ(form->size(), QSize(700, 620));
    EXPECT_EQ(form->minimumSize(), QSize(575, 620));
    EXPECT_TRUE(form->RadioButton6->isChecked());
    EXPECT_FALSE(form->RadioButton5->isChecked());
    EXPECT_EQ(imagePlace(*form).size(), QSize(0, 0));
    EXPECT_EQ(form->Tag, 0);
    EXPECT_EQ(form->TabControl1->tabIndex(), 0);
    EXPECT_EQ(form->Label13->text(), "Оттенков: 0 (из 0)");
    EXPECT_EQ(form->Label7->text(), "Ограничить\nчисло оттенков");
    for (QCheckBox* box :
         {form->CheckBox1, form->CheckBox2, form->CheckBox3, form->CheckBox4, form->CheckBox5})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    // Symbols on: the texture box is off limits, the colour box is not.
    EXPECT_FALSE(form->CheckBox4->isEnabled());
    EXPECT_TRUE(form->CheckBox5->isEnabled());
    EXPECT_TRUE(form->SpeedButton1->isEnabled());
    for (QToolButton* b :
         {form->SpeedButton2, form->SpeedButton3, form->SpeedButton4, form->SpeedButton5})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(form->SpeedButton1->toolTip(), "Открыть картинку (Ctrl+O)");
    EXPECT_EQ(form->SpeedButton3->toolTip(), "Сохранить ключ как картинку (Ctrl+Shift+S)");
    EXPECT_FALSE(form->SpeedButton1->icon().isNull());
    EXPECT_TRUE(form->RadioButton3->toolTip().startsWith("Выбранный параметр"));
    const QStringList tabs = {"Исходное изображение", "Точная сетка", "Схема DMC", "Ключ"};
    ASSERT_EQ(form->TabControl1->tabBar()->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(form->TabControl1->tabBar()->tabText(i), tabs[i]);
    EXPECT_TRUE(form->Label1->font().bold());
    EXPECT_TRUE(form->Button1->font().bold());
    EXPECT_EQ(form->ProgressBar1->maximum(), 100);

    // The window cannot be made smaller than its smallest size.
    form->resize(300, 200);
    EXPECT_EQ(form->size(), QSize(575, 620));
}

TEST_F(ViewTest, FitModeScalesToTheClientAreaInThePictureProportions) {
    form->RadioButton5->setChecked(true);
    setScrollBoxSize(600, 500);
    ASSERT_EQ(form->ScrollBox1->clientWidth(), 596);
    ASSERT_EQ(form->ScrollBox1->clientHeight(), 496);

    form->PictureAspect = 2.0L; // 800 x 400
    form->FormResize();
    EXPECT_EQ(imagePlace(*form), QRect(0, 99, 596, 298));

    form->PictureAspect = 0.5L; // 400 x 800
    form->FormResize();
    EXPECT_EQ(imagePlace(*form), QRect(174, 0, 248, 496));
    EXPECT_FALSE(form->ScrollBox1->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(form->ScrollBox1->verticalScrollBar()->isVisible());

    // Growing the window fits again.
    setScrollBoxSize(700, 500);
    EXPECT_EQ(imagePlace(*form), QRect(224, 0, 248, 496));
}

TEST_F(ViewTest, NaturalModeCentresSmallImagesAndScrollsLargeOnes) {
    setScrollBoxSize(600, 500);
    // With no picture the natural layout keeps the image's own size.
    form->Image1->setImageSize(300, 200);
    form->FormResize();
    EXPECT_EQ(imagePlace(*form), QRect(148, 148, 300, 200));
    // Around the picture the box is sky blue, whatever the window's style sheet says.
    EXPECT_EQ(form->ScrollBox1->viewport()->grab().toImage().pixelColor(5, 5),
              QColor(166, 202, 240));
    EXPECT_EQ(form->ScrollBox1->horzRange(), 300);
    EXPECT_EQ(form->ScrollBox1->vertRange(), 200);
    EXPECT_FALSE(form->ScrollBox1->verticalScrollBar()->isVisible());

    // A gap of one pixel is not worth keeping.
    form->Image1->setImageSize(593, 200);
    form->FormResize();
    EXPECT_EQ(form->Image1->left(), 0);

    form->Image1->setImageSize(1000, 800);
    form->FormResize();
    EXPECT_EQ(form->Image1->left(), 0);
    EXPECT_EQ(form->Image1->top(), 0);
    EXPECT_TRUE(form->ScrollBox1->verticalScrollBar()->isVisible());
    EXPECT_TRUE(form->ScrollBox1->horizontalScrollBar()->isVisible());
    const int bottom = 800 - form->ScrollBox1->clientHeight();
    EXPECT_EQ(form->ScrollBox1->verticalScrollBar()->maximum(), bottom);

    // The wheel moves the view 15 pixels per event, only over the picture area, and stays in
    // range.
    QWidget* viewport = form->ScrollBox1->viewport();
    const QPoint middle = viewport->rect().center();
    wheel(viewport, middle, -120);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), 15);
    EXPECT_EQ(form->Image1->y(), -15);
    wheel(viewport, middle, -1);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), 30);
    wheel(viewport, middle, 360);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), 15);
    wheel(form->Label10, QPoint(2, 2), -120);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), 15);
    wheel(viewport, middle, 0);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), 15);
    for (int i = 0; i < 40; ++i)
        wheel(viewport, middle, -120);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), bottom);
    for (int i = 0; i < 40; ++i)
        wheel(form->ScrollBox1->verticalScrollBar(), QPoint(3, 3), 120);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), 0);

    // Choosing a view mode starts again from the top.
    wheel(viewport, middle, -120);
    form->RadioButton5->setChecked(true);
    EXPECT_EQ(form->ScrollBox1->vertPosition(), 0);
    EXPECT_EQ(form->ScrollBox1->vertRange(), 0);
}

TEST_F(ViewTest, SmallHandlersAndKeyboardOrder) {
    QTest::mouseClick(form->Label7, Qt::LeftButton);
    EXPECT_FALSE(form->CheckBox1->isChecked());
    QTest::mouseClick(form->Label7, Qt::LeftButton);
    EXPECT_TRUE(form->CheckBox1->isChecked());

    QTest::mouseClick(form->Edit4, Qt::LeftButton);
    EXPECT_EQ(form->Edit4->selectedText(), "30");

    // Tab visits the enabled controls in the form's order and only the checked radio buttons.
    form->CheckBox2->setFocus();
    QStringList visited;
    for (int i = 0; i < 16; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QStringList expected = {"CheckBox2", "CheckBox3", "CheckBox5",    "Edit3",
                                  "Edit7",     "ComboBox1", "Edit2",        "CheckBox1",
                                  "Edit4",     "CheckBox6", "CheckBox7",    "RadioButton1",
                                  "Button1",   "tabs",      "RadioButton6", "CheckBox2"};
    EXPECT_EQ(visited, expected);
}

} // namespace
} // namespace pelvano::test
