// The size fields of the window: the calculator's writes, the master choice, the cross-size
// normalisation, the spin buttons and the typing rules, driven through the real controls.
#include "ui/settings_store.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <array>

namespace pelvano::test {
namespace {

using SizeFieldsTest = FormTest;

void expectSizes(const TForm1& f, const char* width, const char* height, const char* columns,
                 const char* rows) {
    EXPECT_EQ(f.Edit2->text(), QString::fromUtf8(width));
    EXPECT_EQ(f.Edit1->text(), QString::fromUtf8(height));
    EXPECT_EQ(f.Edit6->text(), QString::fromUtf8(columns));
    EXPECT_EQ(f.Edit5->text(), QString::fromUtf8(rows));
}

void replaceText(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
}

TEST_F(SizeFieldsTest, FirstStartDerivesFromTheDefaultsAndShowsTheSummary) {
    expectSizes(*form, "150", "150", "88", "88");
    EXPECT_EQ(form->Edit3->text(), "1,7");
    EXPECT_EQ(form->Edit7->text(), "1,7");
    EXPECT_EQ(form->UpDown1->position(), 170);
    EXPECT_EQ(form->UpDown2->position(), 170);
    EXPECT_EQ(form->Label10->text(), "Крестиков: 7.744");
    EXPECT_EQ(form->Label11->text(), "Ширина: 150 мм");
    EXPECT_EQ(form->Label12->text(), "Высота: 150 мм");
    EXPECT_EQ(form->ColumnCount, 88);
    EXPECT_EQ(form->RowCount, 88);
    EXPECT_NEAR(static_cast<double>(form->CrossWidth), 1.7, 1e-12);
    EXPECT_EQ(form->MasterIndex, 1);
    // Only the master field can be typed in.
    EXPECT_TRUE(form->Edit2->isEnabled());
    EXPECT_FALSE(form->Edit1->isEnabled());
    EXPECT_FALSE(form->Edit6->isEnabled());
    EXPECT_FALSE(form->Edit5->isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SizeFieldsTest, MastersDeriveTheOtherFieldsInThePictureProportions) {
    // A 640 x 480 picture, 200 mm wide in crosses of 2,5 mm.
    form->PictureAspect = 640.0L / 480.0L;
    form->Edit3->setText("2,5");
    form->Edit7->setText("2,5");
    replaceText(form->Edit2, "200");
    expectSizes(*form, "200", "150", "80", "60");
    EXPECT_EQ(form->Label10->text(), "Крестиков: 4.800");
    EXPECT_EQ(form->ColumnCount, 80);
    EXPECT_EQ(form->RowCount, 60);

    // Choosing a master from the program works like a click: rows become the typed field.
    form->RadioButton4->setChecked(true);
    EXPECT_EQ(form->MasterIndex, 4);
    EXPECT_TRUE(form->Edit5->isEnabled());
    EXPECT_FALSE(form->Edit2->isEnabled());
    // Switching the master changes no value.
    expectSizes(*form, "200", "150", "80", "60");

    // A 300 x 400 picture, 100 rows of crosses 1,7 wide and 1,5 high: 112.5 mm rounds up.
    form->PictureAspect = 0.75L;
    form->Edit3->setText("1,7");
    form->Edit7->setText("1,5");
    replaceText(form->Edit5, "100");
    expectSizes(*form, "113", "150", "66", "100");

    // Columns as master: 99999 crosses of 1 mm; the derived width is longer than can be typed.
    form->PictureAspect = 1.0L;
    form->RadioButton3->setChecked(true);
    form->Edit3->setText("1");
    form->Edit7->setText("1");
    form->Edit6->setText("99999");
    expectSizes(*form, "99999", "99999", "99999", "99999");
    EXPECT_EQ(form->Label10->text(), "Крестиков: 9.999.800.001");
    form->Edit3->setText("10");
    EXPECT_EQ(form->Edit2->text(), "999990");

    // An empty master recalculates nothing.
    form->Edit6->setText("");
    EXPECT_EQ(form->Edit2->text(), "999990");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SizeFieldsTest, WritesIntoDerivedFieldsDoNotRecalculate) {
    QSignalSpy changes(form->Edit2, &QLineEdit::textChanged);
    form->Edit2->setText("150"); // equal text: no change notification at all
    EXPECT_EQ(changes.count(), 0);

    form->Edit1->setText("999"); // not the master
    EXPECT_EQ(form->Edit6->text(), "88");
    EXPECT_EQ(form->ColumnCount, 88);

    form->Edit2->setText("170");
    EXPECT_EQ(changes.count(), 1);
    expectSizes(*form, "170", "170", "100", "100");
}

TEST_F(SizeFieldsTest, CrossSizesAreNormalisedAndFollowTheSpinButtons) {
    replaceText(form->Edit3, "");
    EXPECT_EQ(form->Edit3->text(), "0,01");
    EXPECT_EQ(form->UpDown1->position(), 1);
    EXPECT_EQ(form->Edit6->text(), "15000");

    form->Edit3->setText("25");
    EXPECT_EQ(form->Edit3->text(), "10");
    EXPECT_EQ(form->UpDown1->position(), 1000);

    form->Edit7->setText(",5");
    EXPECT_EQ(form->Edit7->text(), "0,5");
    EXPECT_EQ(form->UpDown2->position(), 50);

    // A text ending in the comma is a number still being typed: it stays, and so does the size.
    form->Edit7->setText("1,");
    EXPECT_EQ(form->Edit7->text(), "1,");
    EXPECT_EQ(form->UpDown2->position(), 50);

    form->Edit3->setText("1,7");
    QTest::mouseClick(form->UpDown1->upButton(), Qt::LeftButton);
    EXPECT_EQ(form->UpDown1->position(), 171);
    EXPECT_EQ(form->Edit3->text(), "1,71");
    EXPECT_NEAR(static_cast<double>(form->CrossWidth), 1.71, 1e-12);
    EXPECT_EQ(form->Edit6->text(), "88"); // 150 / 1.71 = 87.7
    QTest::mouseClick(form->UpDown1->downButton(), Qt::LeftButton);
    QTest::mouseClick(form->UpDown1->downButton(), Qt::LeftButton);
    EXPECT_EQ(form->Edit3->text(), "1,69");

    // The spin range ends at 10 mm without wrapping round.
    form->Edit3->setText("10");
    QTest::mouseClick(form->UpDown1->upButton(), Qt::LeftButton);
    EXPECT_EQ(form->UpDown1->position(), 1000);
    EXPECT_EQ(form->Edit3->text(), "10");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SizeFieldsTest, FractionalCrossSizesCanBeTypedKeyByKey) {
    struct Key {
        char typed; // '^' selects the whole text instead
        const char* text = "";
        int position = 0;   // the size in use, in hundredths
        bool reset = false; // the sizes were recalculated and the view reset
    };
    // clang-format off
    const Key keys[] = {{'^'}, {'2', "2", 200, true}, {',', "2,", 200, false}, {'5', "2,5", 250, true},
                        {'^'}, {'0', "0", 250, false}, {',', "0,", 250, false}, {'7', "0,7", 70, true},
                        {'5', "0,75", 75, true}, {'^'}, {',', ",", 75, false}, {'7', "0,7", 70, true}};
    // clang-format on
    for (auto [edit, spin, size] : {std::tuple(form->Edit3, form->UpDown1, &form->CrossWidth),
                                    std::tuple(form->Edit7, form->UpDown2, &form->CrossHeight)}) {
        edit->setFocus();
        for (const Key& k : keys) {
            if (k.typed == '^') {
                edit->selectAll();
                continue;
            }
            form->Image1->setLeft(-5); // moved back by a view reset
            QTest::keyClick(edit, k.typed);
            EXPECT_EQ(edit->text(), k.text);
            EXPECT_EQ(spin->position(), k.position) << k.text;
            EXPECT_NEAR(static_cast<double>(*size), k.position / 100.0, 1e-12) << k.text;
            EXPECT_EQ(form->Image1->left() != -5, k.reset) << k.text;
        }
    }
}

TEST_F(SizeFieldsTest, UnfinishedCrossSizeIsNotUsedAndIsSettledOnLeavingTheField) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Edit3->setFocus();
    form->Edit3->setText("2,");
    QTest::mouseClick(form->UpDown2->upButton(), Qt::LeftButton);
    EXPECT_EQ(form->Edit6->text(), "88"); // 150 over the size before it, 1,7
    QTest::keyClick(form->Edit3, Qt::Key_Tab);
    EXPECT_EQ(form->Edit3->text(), "2");
    EXPECT_EQ(form->Edit6->text(), "75");
    // Enter settles it before it presses "Генерировать схему" (which finds no picture yet).
    form->Edit7->setText("0");
    QTest::keyClick(form->Edit7, Qt::Key_Return);
    EXPECT_EQ(form->Edit7->text(), "0,01");
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(SizeFieldsTest, FabricCountSetsBothSizesAndFollowsTheSizesInUse) {
    const QString storeFile = QSettings(kSettingsOrganization, kSettingsApplication).fileName();
    QComboBox* fabric = form->ComboBox1;
    auto choose = [fabric](int index) {
        fabric->setCurrentIndex(index);
        emit fabric->activated(index);
    };
    EXPECT_EQ(fabric->currentText(), "Своя"); // 1,7 mm is no fabric's cross

    // {name, size, columns of 150 mm}; evenweave over two comes after the Aida of the same size
    // and still shows as chosen.
    const std::array<std::array<QString, 3>, 6> fabrics = {
        {{"Аида 11", "2,31", "65"},
         {"Аида 14", "1,81", "83"},
         {"Аида 16", "1,59", "94"},
         {"Аида 18", "1,41", "106"},
         {"Равномерка 28 (через 2)", "1,81", "83"},
         {"Равномерка 32 (через 2)", "1,59", "94"}}};
    for (int i = 0; i < 6; ++i) {
        const auto& [name, size, columns] = fabrics[static_cast<std::size_t>(i)];
        form->Image1->setLeft(-5); // moved back by a view reset
        choose(i);
        EXPECT_EQ(fabric->currentText(), name);
        EXPECT_EQ(form->Edit3->text() + form->Edit7->text(), size + size);
        EXPECT_EQ(QString::number(static_cast<double>(form->CrossHeight)).replace('.', ','), size);
        EXPECT_EQ(form->Edit6->text(), columns) << name.toStdString();
        EXPECT_NE(form->Image1->left(), -5) << name.toStdString();
    }
    choose(6); // "Своя" leaves the sizes
    EXPECT_EQ(fabric->currentText(), "Своя");
    EXPECT_EQ(form->Edit3->text(), "1,59");

    // Typed sizes and spin clicks show the fabric only while both sizes are its own.
    choose(1);
    replaceText(form->Edit3, "2");
    EXPECT_EQ(fabric->currentText(), "Своя");
    replaceText(form->Edit7, "2");
    replaceText(form->Edit3, "1,81");
    EXPECT_EQ(fabric->currentText(), "Своя");
    replaceText(form->Edit7, "1,81");
    EXPECT_EQ(fabric->currentText(), "Аида 14");
    QTest::mouseClick(form->UpDown2->upButton(), Qt::LeftButton);
    EXPECT_EQ(fabric->currentText(), "Своя");
    QTest::mouseClick(form->UpDown2->downButton(), Qt::LeftButton);
    EXPECT_EQ(fabric->currentText(), "Аида 14");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // The fabric is not stored; the restored sizes show it again.
    form->close();
    EXPECT_EQ(QSettings(storeFile, QSettings::IniFormat).childKeys().size(), 22);
    form = std::make_unique<TForm1>(dialogs);
    EXPECT_EQ(form->ComboBox1->currentText(), "Аида 14");
    QFile::remove(storeFile); // the next window starts without settings again
}

TEST_F(SizeFieldsTest, HugeSummaryNumbersAreShownWhole) {
    const QFont normal = form->Label10->font();
    form->RadioButton3->setChecked(true);
    form->Edit3->setText("10");
    form->Edit7->setText("10");
    form->Edit6->setText("99999");
    EXPECT_EQ(form->Label10->text(), "Крестиков: 9.999.800.001");
    for (QLabel* label : {form->Label10, form->Label11, form->Label12})
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                  label->contentsRect().width());
    form->Edit6->setText("88");
    EXPECT_EQ(form->Label10->font(), normal);
}

TEST_F(SizeFieldsTest, TypingPassesOnlyDigitsWithinTheLengthLimit) {
    replaceText(form->Edit2, "1a2-3 ");
    EXPECT_EQ(form->Edit2->text(), "123");
    QTest::keyClicks(form->Edit2, "4567");
    EXPECT_EQ(form->Edit2->text(), "12345"); // five characters at most
    QTest::keyClick(form->Edit2, Qt::Key_Backspace);
    EXPECT_EQ(form->Edit2->text(), "1234");

    replaceText(form->Edit4, "1x234");
    EXPECT_EQ(form->Edit4->text(), "123");

    // The cross fields take one comma only.
    form->Edit3->setText("1,7");
    form->Edit3->setFocus();
    form->Edit3->end(false);
    QTest::keyClick(form->Edit3, Qt::Key_Comma, Qt::NoModifier);
    QTest::keyClicks(form->Edit3, ".a");
    EXPECT_EQ(form->Edit3->text(), "1,7");
    form->Edit3->home(false);
    form->Edit3->cursorForward(true, 1);
    QTest::keyClicks(form->Edit3, "2");
    EXPECT_EQ(form->Edit3->text(), "2,7");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SizeFieldsTest, PastedTextThatIsNoNumberIsReportedAndChangesNothingPublished) {
    form->Edit2->setFocus();
    form->Edit2->selectAll();
    QGuiApplication::clipboard()->setText("12ab");
    QTest::keyClick(form->Edit2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->Edit2->text(), "12ab");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], "'12ab' is not a valid integer value");
    EXPECT_EQ(form->ColumnCount, 88);
    EXPECT_EQ(form->Label10->text(), "Крестиков: 7.744");

    form->Edit7->setFocus();
    form->Edit7->selectAll();
    QGuiApplication::clipboard()->setText("1.5");
    form->Edit7->paste();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1], "'1.5' is not a valid floating point value");
    EXPECT_NEAR(static_cast<double>(form->CrossHeight), 1.7, 1e-12);

    // A paste longer than a field can hold is refused, as typing beyond the limit is.
    form->Edit6->setEnabled(true);
    form->Edit6->selectAll();
    QGuiApplication::clipboard()->setText("1234567");
    form->Edit6->paste();
    EXPECT_EQ(form->Edit6->text(), "88");
}

} // namespace
} // namespace pelvano::test
