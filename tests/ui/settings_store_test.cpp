// The settings store on its own against a settings file in a temporary folder, then through the
// window: what start-up restores and what closing writes.
#include "ui/settings_store.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace pelvano::test {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QString fileName() const { return dir.filePath(QStringLiteral("Options.conf")); }
    QSettings store() const { return QSettings(fileName(), QSettings::IniFormat); }

    // Sets raw values as another program (or an older version) might have left them.
    void put(const QString& name, const QVariant& value) {
        QSettings s(fileName(), QSettings::IniFormat);
        s.setValue(name, value);
    }

    StartupSettings read(QStringList* problems = nullptr) {
        QSettings s = store();
        return ReadSettings(s, problems);
    }

    QTemporaryDir dir;
};

void ExpectSame(const StartupSettings& a, const StartupSettings& b) {
    EXPECT_EQ(a.shadeLimit, b.shadeLimit);
    EXPECT_EQ(a.crossWidthHundredths, b.crossWidthHundredths);
    EXPECT_EQ(a.crossHeightHundredths, b.crossHeightHundredths);
    EXPECT_EQ(a.windowTop, b.windowTop);
    EXPECT_EQ(a.windowLeft, b.windowLeft);
    EXPECT_EQ(a.windowWidth, b.windowWidth);
    EXPECT_EQ(a.windowHeight, b.windowHeight);
    EXPECT_EQ(a.printerIndex, b.printerIndex);
    EXPECT_EQ(a.masterIndex, b.masterIndex);
    EXPECT_EQ(a.embroideryWidth, b.embroideryWidth);
    EXPECT_EQ(a.embroideryHeight, b.embroideryHeight);
    EXPECT_EQ(a.columns, b.columns);
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(a.fitToWindow, b.fitToWindow);
    EXPECT_EQ(a.saveFolder, b.saveFolder);
    EXPECT_EQ(a.openFolder, b.openFolder);
    EXPECT_EQ(a.limitShades, b.limitShades);
    EXPECT_EQ(a.drawGrid, b.drawGrid);
    EXPECT_EQ(a.drawSymbols, b.drawSymbols);
    EXPECT_EQ(a.realStitches, b.realStitches);
    EXPECT_EQ(a.showColor, b.showColor);
    EXPECT_EQ(a.maximized, b.maximized);
}

TEST_F(SettingsStoreTest, EmptyStoreGivesFirstRunValuesAndTheFirstSaveWritesAllAsStrings) {
    QStringList problems;
    const StartupSettings first = read(&problems);
    EXPECT_TRUE(problems.isEmpty());
    ExpectSame(first, StartupSettings{});
    EXPECT_EQ(first.shadeLimit, "30");
    EXPECT_EQ(first.crossWidthHundredths, 170);
    EXPECT_EQ(first.printerIndex, -1);
    EXPECT_FALSE(first.fitToWindow);
    EXPECT_TRUE(first.saveFolder.isEmpty());

    {
        QSettings s = store();
        EXPECT_EQ(WriteSettings(s, first), "");
    }
    const QList<std::pair<QString, QString>> expected = {
        {"MulineNum", "30"},  {"KrestikWidth", "170"}, {"KrestikHeight", "170"},
        {"WinTop", "80"},     {"WinLeft", "80"},       {"WinWidth", "700"},
        {"WinHeight", "570"}, {"PrinterIndex", "-1"},  {"RadioButton", "1"},
        {"VishWidth", "150"}, {"VishHeight", "150"},   {"Vertnum", "150"},
        {"Hornum", "150"},    {"Stretch", "0"},        {"SaveDir", ""},
        {"OpenDir", ""},      {"Limit", "1"},          {"Setka", "1"},
        {"Znaki", "1"},       {"Real", "1"},           {"Color", "1"},
        {"WinState", "0"}};
    QSettings s = store();
    EXPECT_EQ(s.allKeys().size(), 22);
    for (const auto& [name, text] : expected) {
        SCOPED_TRACE(name.toStdString());
        const QVariant value = s.value(name);
        EXPECT_EQ(value.typeId(), QMetaType::QString);
        EXPECT_EQ(value.toString(), text);
    }
}

TEST_F(SettingsStoreTest, EveryValueSurvivesARoundTrip) {
    StartupSettings changed;
    changed.shadeLimit = "7";
    changed.crossWidthHundredths = 250;
    changed.crossHeightHundredths = 1;
    changed.windowTop = -20; // a window partly above the screen keeps its place
    changed.windowLeft = 1700;
    changed.windowWidth = 900;
    changed.windowHeight = 640;
    changed.printerIndex = 3;
    changed.masterIndex = 4;
    changed.embroideryWidth = "200";
    changed.embroideryHeight = "";
    changed.columns = "12345";
    changed.rows = "abc";
    changed.fitToWindow = true;
    // Texts that the file format has to quote or escape.
    changed.saveFolder = "/home/анна/схемы, новые; \"лучшие\"";
    changed.openFolder = "@Variant(rose)";
    changed.limitShades = false;
    changed.drawGrid = false;
    changed.drawSymbols = true;
    changed.realStitches = false;
    changed.showColor = false;
    {
        QSettings s = store();
        EXPECT_EQ(WriteSettings(s, changed), "");
    }
    QStringList problems;
    ExpectSame(read(&problems), changed);
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(SettingsStoreTest, NumbersAndSwitchesReadAsWholeNumbersOrFallBack) {
    put("KrestikWidth", "5000"); // the window brings cross sizes into range, not the store
    put("KrestikHeight", "0");
    put("RadioButton", "7");
    put("PrinterIndex", "-1");
    put("WinTop", "");              // not a number: default
    put("WinLeft", "12px");         // neither
    put("WinWidth", "99999999999"); // out of range
    put("WinHeight", "+600");
    put("Stretch", "1");
    put("Limit", "0");
    put("Setka", "-1"); // any number but 0 is true
    put("Znaki", "no"); // not a number: the default, true
    put("Real", "");
    put("WinState", "2");
    QStringList problems;
    const StartupSettings s = read(&problems);
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_EQ(s.crossWidthHundredths, 5000);
    EXPECT_EQ(s.crossHeightHundredths, 0);
    EXPECT_EQ(s.masterIndex, 7);
    EXPECT_EQ(s.printerIndex, -1);
    EXPECT_EQ(s.windowTop, 80);
    EXPECT_EQ(s.windowLeft, 80);
    EXPECT_EQ(s.windowWidth, 700);
    EXPECT_EQ(s.windowHeight, 600);
    EXPECT_TRUE(s.fitToWindow);
    EXPECT_FALSE(s.limitShades);
    EXPECT_TRUE(s.drawGrid);
    EXPECT_TRUE(s.drawSymbols);
    EXPECT_TRUE(s.realStitches);
    EXPECT_TRUE(s.maximized);

    put("Stretch", "0");
    EXPECT_FALSE(read().fitToWindow);
}

TEST_F(SettingsStoreTest, ValuesOfAnotherTypeAreReportedOnceAndGiveTheirDefaults) {
    put("KrestikWidth", QStringList{"1", "2"});
    put("VishWidth", QRect(1, 2, 3, 4));
    put("Color", QByteArray("\x01", 1));
    put("MulineNum", "12");
    QStringList problems;
    const StartupSettings s = read(&problems);
    EXPECT_EQ(problems,
              QStringList({"Invalid data type for 'KrestikWidth'",
                           "Invalid data type for 'VishWidth'", "Invalid data type for 'Color'"}));
    EXPECT_EQ(s.crossWidthHundredths, 170);
    EXPECT_EQ(s.embroideryWidth, "150");
    EXPECT_TRUE(s.showColor);
    EXPECT_EQ(s.shadeLimit, "12"); // the others are still read

    // Writing back replaces them with strings.
    {
        QSettings store2 = store();
        EXPECT_EQ(WriteSettings(store2, s), "");
    }
    problems.clear();
    read(&problems);
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(SettingsStoreTest, MaximisedWindowKeepsTheEarlierNormalPlace) {
    StartupSettings normal;
    normal.windowLeft = 10;
    normal.windowTop = 20;
    normal.windowWidth = 800;
    normal.windowHeight = 600;
    {
        QSettings s = store();
        ASSERT_EQ(WriteSettings(s, normal), "");
    }
    StartupSettings maximised = normal;
    maximised.windowLeft = 0;
    maximised.windowTop = 0;
    maximised.windowWidth = 1920;
    maximised.windowHeight = 1080;
    maximised.maximized = true;
    {
        QSettings s = store();
        ASSERT_EQ(WriteSettings(s, maximised), "");
    }
    {
        QSettings s = store();
        EXPECT_EQ(s.value("WinState").toString(), "1");
    }
    const StartupSettings next = read();
    EXPECT_TRUE(next.maximized);
    EXPECT_EQ(next.windowLeft, 10);
    EXPECT_EQ(next.windowTop, 20);
    EXPECT_EQ(next.windowWidth, 800);
    EXPECT_EQ(next.windowHeight, 600);
}

TEST_F(SettingsStoreTest, StoreThatCannotBeWrittenIsReported) {
    // A plain file where the store's folder should be: nothing can be created below it, not
    // even by an administrator.
    QFile blocker(dir.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings s(dir.filePath("blocked/Pelvano/Options.conf"), QSettings::IniFormat);
    const QString error = WriteSettings(s, StartupSettings{});
    EXPECT_TRUE(error.startsWith("Failed to create key ")) << error.toStdString();
    EXPECT_TRUE(error.contains("Options.conf")) << error.toStdString();
}

// The window with the store in the test program's settings folder, emptied before and after.
class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        storeFile = QSettings(kSettingsOrganization, kSettingsApplication).fileName();
        clearStore();
    }
    void TearDown() override {
        form.reset();
        clearStore();
    }

    void clearStore() {
        // The store's folder, or the plain file that blocks it in the failure test.
        const QFileInfo folder(QFileInfo(storeFile).path());
        if (folder.isDir())
            QDir(folder.filePath()).removeRecursively();
        else
            QFile::remove(folder.filePath());
    }
    void put(const QString& name, const QVariant& value) {
        QSettings(storeFile, QSettings::IniFormat).setValue(name, value);
    }
    QVariant stored(const QString& name) const {
        return QSettings(storeFile, QSettings::IniFormat).value(name);
    }
    void start() {
        form = std::make_unique<TForm1>(dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::processEvents();
    }
    void closeWindow() {
        form->close();
        QApplication::processEvents();
    }

    QString storeFile;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(SettingsWindowTest, FirstRunDefaultsAndEveryControlSurvivesARestart) {
    start();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->pos(), QPoint(80, 80));
    EXPECT_EQ(form->size(), QSize(700, 620)); // 570 is below the smallest height
    EXPECT_TRUE(form->RadioButton6->isChecked());
    EXPECT_EQ(form->Edit3->text(), "1,7");
    EXPECT_EQ(form->Edit6->text(), "88");
    closeWindow();
    EXPECT_EQ(QSettings(storeFile, QSettings::IniFormat).childKeys().size(), 22);
    EXPECT_EQ(stored("KrestikWidth"), QVariant(QStringLiteral("170")));
    EXPECT_EQ(stored("Stretch"), QVariant(QStringLiteral("0")));
    EXPECT_EQ(stored("WinState"), QVariant(QStringLiteral("0")));

    start();
    form->Edit4->setText("12");
    form->Edit3->setText("2,5");
    form->UpDown2->downButton()->click();
    form->RadioButton3->setChecked(true);
    form->Edit6->setText("200");
    form->RadioButton5->setChecked(true);
    form->CheckBox1->setChecked(false);
    form->CheckBox3->setChecked(false);
    form->PrinterIndex = 2;
    form->SaveDir = "/home/анна/схемы";
    form->OpenDir = "/home/анна/фото";
    form->move(120, 90);
    form->resize(760, 640);
    QApplication::processEvents();
    const QString heightText = form->Edit1->text();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    closeWindow();

    start();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->Edit4->text(), "12");
    EXPECT_EQ(form->Edit3->text(), "2,5");
    EXPECT_EQ(form->UpDown1->position(), 250);
    EXPECT_EQ(form->Edit7->text(), "1,69");
    EXPECT_TRUE(form->RadioButton3->isChecked());
    EXPECT_EQ(form->MasterIndex, 3);
    EXPECT_EQ(form->Edit6->text(), "200");
    EXPECT_EQ(form->Edit1->text(), heightText);
    EXPECT_TRUE(form->RadioButton5->isChecked());
    EXPECT_FALSE(form->RadioButton6->isChecked());
    EXPECT_FALSE(form->CheckBox1->isChecked());
    EXPECT_FALSE(form->CheckBox3->isChecked());
    EXPECT_FALSE(form->CheckBox5->isEnabled()); // colour needs symbols
    EXPECT_EQ(form->PrinterIndex, 2);
    EXPECT_EQ(form->SaveDir, "/home/анна/схемы");
    EXPECT_EQ(form->OpenDir, "/home/анна/фото");
    EXPECT_EQ(form->pos(), QPoint(120, 90));
    EXPECT_EQ(form->size(), QSize(760, 640));
}

TEST_F(SettingsWindowTest, StoredValuesAtTheirLimits) {
    put("KrestikWidth", "5000");
    put("KrestikHeight", "0");
    put("RadioButton", "7");
    put("Stretch", "1");
    put("PrinterIndex", "-1");
    put("WinTop", "");
    start();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(form->Edit3->text(), "10");
    EXPECT_EQ(form->UpDown1->position(), 1000);
    EXPECT_EQ(form->Edit7->text(), "0,01");
    EXPECT_EQ(form->UpDown2->position(), 1);
    // No button for 7: the width stays the master, and 7 goes back unchanged.
    EXPECT_TRUE(form->RadioButton1->isChecked());
    EXPECT_EQ(form->MasterIndex, 7);
    EXPECT_TRUE(form->RadioButton5->isChecked());
    EXPECT_EQ(form->PrinterIndex, -1);
    EXPECT_EQ(form->y(), 80);
    closeWindow();
    EXPECT_EQ(stored("RadioButton"), QVariant(QStringLiteral("7")));
    EXPECT_EQ(stored("PrinterIndex"), QVariant(QStringLiteral("-1")));
    EXPECT_EQ(stored("KrestikWidth"), QVariant(QStringLiteral("1000")));
    EXPECT_EQ(stored("Stretch"), QVariant(QStringLiteral("1")));

    put("Stretch", "0");
    start();
    EXPECT_TRUE(form->RadioButton6->isChecked());
}

TEST_F(SettingsWindowTest, CrossSizeStillBeingTypedAtCloseKeepsTheSizeInUse) {
    start();
    form->Edit3->setFocus();
    form->Edit3->setText("0"); // would become 0,01 on leaving the field
    closeWindow();
    EXPECT_EQ(stored("KrestikWidth"), QVariant(QStringLiteral("170")));
}

TEST_F(SettingsWindowTest, MaximisedCloseKeepsTheNormalPlaceForTheNextStart) {
    put("WinLeft", "30");
    put("WinTop", "40");
    put("WinWidth", "640");
    put("WinHeight", "630");
    start();
    form->showMaximized();
    QApplication::processEvents();
    closeWindow();
    EXPECT_EQ(stored("WinState"), QVariant(QStringLiteral("1")));
    EXPECT_EQ(stored("WinLeft"), QVariant(QStringLiteral("30")));
    EXPECT_EQ(stored("WinWidth"), QVariant(QStringLiteral("640")));

    start();
    EXPECT_TRUE(form->isMaximized());
    EXPECT_EQ(form->normalGeometry().size(), QSize(640, 630));
}

TEST_F(SettingsWindowTest, UnusableValuesAreReportedOnceAndTheRestIsRestored) {
    put("RadioButton", "3");
    put("Vertnum", "abc"); // the master's text: the recalculation could not read it
    put("Hornum", "xyz");  // derived again from the master, so harmless
    put("KrestikWidth", QStringList{"2", "5"});
    put("WinLeft", "-5000"); // a screen that is no longer there
    put("Stretch", "1");
    put("SaveDir", "/out");
    put("Setka", "0");
    start();
    EXPECT_EQ(dialogs.messages, QStringList({"Invalid data type for 'KrestikWidth'\r\n"
                                             "'abc' is not a valid integer value"}));
    EXPECT_EQ(form->Edit3->text(), "1,7");
    EXPECT_EQ(form->Edit6->text(), "150");
    EXPECT_NE(form->Edit5->text(), "xyz");
    EXPECT_TRUE(form->RadioButton3->isChecked());
    EXPECT_EQ(form->pos(), QPoint(80, 80));
    EXPECT_EQ(form->size(), QSize(700, 620));
    EXPECT_TRUE(form->RadioButton5->isChecked());
    EXPECT_EQ(form->SaveDir, "/out");
    EXPECT_FALSE(form->CheckBox2->isChecked());
}

TEST_F(SettingsWindowTest, StoredPlaceIsKeptWithinReachOfTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // Far larger than the screen, with the title bar above it, and mostly beyond its right edge.
    put("WinLeft", QString::number(area.right() - 10));
    put("WinTop", QString::number(area.top() - 560));
    put("WinWidth", QString::number(area.width() * 4));
    put("WinHeight", QString::number(area.height() * 4));
    start();
    const QRect had = form->frameGeometry();
    EXPECT_EQ(had.top(), area.top());
    EXPECT_LE(form->width(), area.width());
    EXPECT_LE(form->height(), area.height());
    EXPECT_GE(had.intersected(area).width(), form->width() / 2);
    // What closing stores is the place the window really had.
    closeWindow();
    EXPECT_EQ(stored("WinLeft"), QVariant(QString::number(had.left())));
    EXPECT_EQ(stored("WinWidth"), QVariant(QString::number(form->width())));
}

TEST_F(SettingsWindowTest, FailedSaveIsReportedAndTheWindowStillCloses) {
    start();
    // A plain file where the store's folder belongs.
    QFile blocker(QFileInfo(storeFile).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    closeWindow();
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("Failed to create key "))
        << dialogs.messages[0].toStdString();
}

} // namespace
} // namespace pelvano::test
