#include "ui_test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace pelvano::test {

namespace {

// One application for the whole test program; settings and dialogs never touch the user's own.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QStandardPaths::setTestModeEnabled(true);
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName(QStringLiteral("pelvano-tests"));
        // Every run starts without stored settings, whatever an earlier run left behind.
        settingsFolder_ = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder_->path());
    }
    void TearDown() override {
        app_.reset();
        settingsFolder_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<QTemporaryDir> settingsFolder_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

QString CorpusFile(const char* relative) {
    return QDir(QStringLiteral(PELVANO_CORPUS_DIR)).filePath(QString::fromUtf8(relative));
}

QString TestOutputFile(const QString& name) {
    return QDir(QStringLiteral(PELVANO_TEST_OUTPUT_DIR)).filePath(name);
}

PdfInfo ReadPdfInfo(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(60000);
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    PdfInfo info;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(text);
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(text);
    const auto title =
        QRegularExpression(QStringLiteral("^Title:\\s+(.*)$"), QRegularExpression::MultilineOption)
            .match(text);
    if (pages.hasMatch())
        info.pages = pages.captured(1).toInt();
    if (size.hasMatch())
        info.size = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    if (title.hasMatch())
        info.title = title.captured(1).trimmed();
    return info;
}

void FormTest::SetUp() {
    form = std::make_unique<TForm1>(dialogs);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QApplication::processEvents();
}

void FormTest::TearDown() {
    form.reset();
}

void FormTest::openPicture(const QString& path) {
    dialogs.openAnswers.push_back(path);
    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
}

void FormTest::generate() {
    QTest::mouseClick(form->Button1, Qt::LeftButton);
}

void FormTest::setScrollBoxSize(int width, int height) {
    // Small boxes need a window below its usual smallest size.
    form->setMinimumSize(0, 0);
    const QSize now = form->ScrollBox1->size();
    form->resize(form->width() + width - now.width(), form->height() + height - now.height());
    QApplication::processEvents();
    ASSERT_EQ(form->ScrollBox1->size(), QSize(width, height));
}

void StoredSettingsFormTest::SetUp() {
    QFile::remove(storeFile);
    FormTest::SetUp();
}

void StoredSettingsFormTest::TearDown() {
    FormTest::TearDown();
    QFile::remove(storeFile);
}

void StoredSettingsFormTest::restart() {
    form->close();
    form.reset();
    FormTest::SetUp();
}

} // namespace pelvano::test
