// Saving the pattern and the key: the file name rules, the overwrite question and the folder the
// dialog starts in, with scripted dialogs.
#include "io/picture_input.h"
#include "ui/save_command.h"
#include "ui/settings_store.h"
#include "ui_test_support.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QXmlStreamReader>
#include <cstdlib>

namespace pelvano::test {
namespace {

// Also records what each save dialog was shown with.
class RecordingDialogs : public ScriptedDialogs {
public:
    struct SaveRequest {
        QString title;
        QString folder;
        QString filter;
        int filterIndex;
    };
    std::vector<SaveRequest> saveRequests;

    std::optional<SaveChoice> savePictureFile(QWidget* parent, const QString& title,
                                              const QString& folder, const QString& filter,
                                              int filterIndex) override {
        saveRequests.push_back({title, folder, filter, filterIndex});
        return ScriptedDialogs::savePictureFile(parent, title, folder, filter, filterIndex);
    }
};

QImage TestPicture(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
    return image;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SaveCommandTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    void save(SavedPicture which = SavedPicture::Pattern) {
        SavePictureFile(dialogs, nullptr, {folder, filterIndex}, image, which);
    }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    QString folder = QStringLiteral("/start/here");
    int filterIndex = 1;
    QImage image = TestPicture(37, 21);
};

TEST_F(SaveCommandTest, FormatFollowsTheFilterEntryNotTheTypedExtension) {
    // An existing photo.jpg is no reason to ask: the file written is photo.bmp.
    WriteFile(path("photo.jpg"), "not a picture");
    dialogs.saveAnswers.push_back({path("photo.jpg"), 1});
    save();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Сохраняем схему");
    EXPECT_EQ(dialogs.saveRequests[0].folder, "/start/here");
    EXPECT_EQ(dialogs.saveRequests[0].filter, "Картинка (*.bmp)|*.bmp|Картинка (*.jpg)|*.jpg");
    EXPECT_EQ(dialogs.saveRequests[0].filterIndex, 1);
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(Contents(path("photo.jpg")), "not a picture");
    EXPECT_TRUE(Contents(path("photo.bmp")).startsWith("BM"));
    EXPECT_EQ(folder, dir.path());

    // JPEG chosen for a name without extension, and a dot in the name that is not one.
    dialogs.saveAnswers.push_back({path("schema"), 2});
    save(SavedPicture::Key);
    EXPECT_EQ(dialogs.saveRequests[1].title, "Сохраняем ключ");
    EXPECT_EQ(dialogs.saveRequests[1].folder, dir.path());
    EXPECT_EQ(filterIndex, 2);
    EXPECT_TRUE(Contents(path("schema.jpg")).startsWith("\xFF\xD8"));
    dialogs.saveAnswers.push_back({path("my.work.bmp"), 2});
    save();
    EXPECT_EQ(dialogs.saveRequests[2].filterIndex, 2); // the entry chosen last
    EXPECT_TRUE(QFile::exists(path("my.work.jpg")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SaveCommandTest, NoAsksAgainAndCancelThenWritesNothing) {
    WriteFile(path("photo.bmp"), "old");
    dialogs.saveAnswers = {{path("photo.jpg"), 1}, {path("photo"), 1}, {}};
    dialogs.yesNoAnswers = {false, false};
    save();
    EXPECT_EQ(dialogs.questions,
              QStringList({"Вопрос: Файл \"photo.bmp\" уже существует. Перезаписать ?",
                           "Вопрос: Файл \"photo.bmp\" уже существует. Перезаписать ?"}));
    EXPECT_EQ(dialogs.saveRequests.size(), 3u);
    EXPECT_EQ(Contents(path("photo.bmp")), "old");
    EXPECT_EQ(folder, "/start/here");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"photo.bmp"}));
}

TEST_F(SaveCommandTest, YesReplacesTheFileAndBothFormatsHoldTheSameImage) {
    WriteFile(path("photo.bmp"), "old");
    dialogs.saveAnswers = {{path("photo.bmp"), 1}, {path("photo.jpg"), 2}};
    dialogs.yesNoAnswers = {true};
    save();
    save();
    EXPECT_EQ(dialogs.questions.size(), 1);

    const LoadedPicture bmp = LoadPicture(path("photo.bmp"));
    ASSERT_TRUE(bmp.ok()) << bmp.error.toStdString();
    EXPECT_EQ(bmp.picture, image);

    const LoadedPicture jpeg = LoadPicture(path("photo.jpg"));
    ASSERT_TRUE(jpeg.ok()) << jpeg.error.toStdString();
    ASSERT_EQ(jpeg.picture.size(), image.size());
    long long error = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* a = image.constScanLine(y);
        const uchar* b = jpeg.picture.constScanLine(y);
        for (int i = 0; i < image.width() * 3; ++i)
            error += std::abs(a[i] - b[i]);
    }
    // Quality 97 keeps every channel within a few steps on average.
    EXPECT_LT(static_cast<double>(error) / (image.width() * image.height() * 3), 4.0);
}

TEST_F(SaveCommandTest, WriteErrorIsThrownAndKeepsFolderAndExistingFile) {
    dialogs.saveAnswers.push_back({path("missing/photo.bmp"), 1});
    try {
        save();
        ADD_FAILURE() << "no error for a missing folder";
    } catch (const UserError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains("photo.bmp")) << error.what();
    }
    EXPECT_EQ(folder, "/start/here");

    // Nothing to encode: the file already there stays as it was.
    WriteFile(path("photo.bmp"), "old");
    image = QImage();
    dialogs.saveAnswers.push_back({path("photo.bmp"), 1});
    dialogs.yesNoAnswers.push_back(true);
    EXPECT_THROW(save(), UserError);
    EXPECT_EQ(Contents(path("photo.bmp")), "old");
    EXPECT_EQ(folder, "/start/here");
}

// The save buttons of the window after a generation run, with the settings folder emptied.
class SaveButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        storeFile = QSettings(kSettingsOrganization, kSettingsApplication).fileName();
        QFile::remove(storeFile);
        start();
    }
    void TearDown() override {
        form.reset();
        QFile::remove(storeFile);
    }
    void start() {
        form = std::make_unique<TForm1>(dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    QString storeFile;
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

std::uint32_t LittleEndian(const QByteArray& bytes, int at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

TEST_F(SaveButtonsTest, KeyAndPatternFilesAndTheFolderAfterARestart) {
    dialogs.openAnswers.push_back(CorpusFile("photos/rose-70x46.bmp"));
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    ASSERT_EQ(form->Tag, 2);

    dialogs.saveAnswers.push_back({dir.filePath("key"), 1});
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    const QByteArray key = Contents(dir.filePath("key.bmp"));
    ASSERT_GE(key.size(), 54);
    EXPECT_EQ(LittleEndian(key, 18, 4), 633u);
    EXPECT_EQ(LittleEndian(key, 22, 4), 895u);
    EXPECT_EQ(LittleEndian(key, 28, 2), 24u);

    dialogs.saveAnswers.push_back({dir.filePath("schema.bmp"), 2});
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    const LoadedPicture pattern = LoadPicture(dir.filePath("schema.jpg"));
    ASSERT_TRUE(pattern.ok()) << pattern.error.toStdString();
    EXPECT_EQ(pattern.picture.size(), form->Image4.size());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    ASSERT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Сохраняем ключ");
    EXPECT_EQ(dialogs.saveRequests[0].folder, "");
    EXPECT_EQ(dialogs.saveRequests[1].title, "Сохраняем схему");
    EXPECT_EQ(dialogs.saveRequests[1].folder, dir.path());
    EXPECT_EQ(dialogs.saveRequests[1].filterIndex, 1);

    // The folder outlives the program; the filter entry does not.
    form->close();
    start();
    dialogs.openAnswers.push_back(CorpusFile("photos/rose-70x46.bmp"));
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    dialogs.saveAnswers.push_back({});
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    ASSERT_EQ(dialogs.saveRequests.size(), 3u);
    EXPECT_EQ(dialogs.saveRequests[2].folder, dir.path());
    EXPECT_EQ(dialogs.saveRequests[2].filterIndex, 1);
}

TEST_F(SaveButtonsTest, PatternAsOxsAndTheKeyAfterIt) {
    dialogs.openAnswers.push_back(CorpusFile("photos/rose-70x46.bmp"));
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    ASSERT_EQ(form->Tag, 2);

    // The third entry writes the pattern, whatever the typed name ends in.
    dialogs.saveAnswers.push_back({dir.filePath("schema.bmp"), 3});
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter,
              "Картинка (*.bmp)|*.bmp|Картинка (*.jpg)|*.jpg|Схема OXS (*.oxs)|*.oxs");
    EXPECT_FALSE(QFile::exists(dir.filePath("schema.bmp")));
    QXmlStreamReader xml(Contents(dir.filePath("schema.oxs")));
    int stitches = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("properties")) {
            const QXmlStreamAttributes a = xml.attributes();
            EXPECT_EQ(a.value("chartwidth").toInt(), form->Pattern.columns);
            EXPECT_EQ(a.value("chartheight").toInt(), form->Pattern.rows);
            EXPECT_EQ(a.value("charttitle"), QLatin1String("rose-70x46.bmp"));
        }
        if (xml.name() == QLatin1String("palette_item") &&
            xml.attributes().hasAttribute("strands")) {
            EXPECT_EQ(xml.attributes().value("strands"), QLatin1String("2")); // 1,7 mm crosses
        }
        if (xml.name() == QLatin1String("stitch"))
            ++stitches;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(stitches, form->Pattern.columns * form->Pattern.rows);
    EXPECT_EQ(form->SaveFilterIndex, 3);
    EXPECT_EQ(form->SaveDir, dir.path());

    // A failed write is shown and keeps the folder.
    dialogs.saveAnswers.push_back({dir.filePath("missing/schema"), 3});
    QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("schema.oxs")) << dialogs.messages[0].toStdString();
    EXPECT_EQ(form->SaveDir, dir.path());

    // The key has no third entry: it offers the first and remembers 3 until the user chooses.
    dialogs.saveAnswers = {{}, {dir.filePath("key"), 2}};
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(form->SaveFilterIndex, 3);
    QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
    ASSERT_EQ(dialogs.saveRequests.size(), 4u);
    EXPECT_EQ(dialogs.saveRequests[3].filter, "Картинка (*.bmp)|*.bmp|Картинка (*.jpg)|*.jpg");
    EXPECT_EQ(dialogs.saveRequests[2].filterIndex, 1);
    EXPECT_EQ(dialogs.saveRequests[3].filterIndex, 1);
    EXPECT_TRUE(Contents(dir.filePath("key.jpg")).startsWith("\xFF\xD8"));
    EXPECT_EQ(form->SaveFilterIndex, 2);
}

} // namespace
} // namespace pelvano::test
