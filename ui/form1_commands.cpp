#include "engine/generation.h"
#include "io/picture_input.h"
#include "render/key_image.h"
#include "render/pattern_images.h"
#include "ui/folder_of.h"
#include "ui/form1.h"

#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <variant>

namespace pelvano {

namespace {

constexpr int kPatternTab = 2;
// The progress bar is repainted at most this often; painting it per column would cost more
// than the columns of a small pattern.
constexpr qint64 kProgressPaintMs = 30;

// Leaves Button1 enabled and the progress bar empty however the run ends: finished, refused,
// out of memory or failed in drawing.
class RunScope {
public:
    RunScope(bool& running, QPushButton* button, QProgressBar* bar)
        : running_(running), button_(button), bar_(bar) {
        running_ = true;
        button_->setEnabled(false);
    }
    ~RunScope() {
        bar_->setRange(0, 100);
        bar_->reset();
        running_ = false;
        button_->setEnabled(true);
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    bool& running_;
    QPushButton* button_;
    QProgressBar* bar_;
};

} // namespace

void TForm1::SpeedButton1Click() {
    const QString file =
        dialogs_.openPictureFile(this, kOpenPictureTitle, OpenDir, kOpenPictureFilter);
    if (file.isEmpty())
        return;
    OpenPictureFile(file);
}

void TForm1::OpenPictureFile(const QString& file) {
    // Decoded into a picture of its own: a file that fails leaves everything as it was.
    LoadedPicture loaded = LoadPicture(file);
    if (!loaded.ok())
        throw UserError(loaded.error);
    Image2 = std::move(loaded.picture);

    Tag = 1;
    PictureAspect = pelvano::PictureAspect(Image2);
    Image1->setVisible(false);
    Image1->setPicture(Image2);
    Image1->setTop(0);
    Image1->setLeft(0);
    // The results of an earlier run belong to the previous picture.
    Image3 = QImage();
    Image4 = QImage();
    KeyImage = QImage();
    Pattern = PatternData{};
    OpenDir = DialogFolderOf(file);
    PictureFile = file;
    setWindowTitle(kWindowTitle + QStringLiteral(": ") + file);
    RecalcSizes();
    ApplyRealSize();
    TabControl1->setTabIndex(0);
    TabControl1Change();
    setExportButtonsEnabled(false);
    FormResize();
    Label13->setText(kNoShadesLabel);
}

void TForm1::showProgress(std::int32_t done, std::int32_t total) {
    if (ProgressBar1->maximum() != total)
        ProgressBar1->setRange(0, total);
    ProgressBar1->setValue(done);
    // Repaint the bar directly instead of running the event loop: nothing the user does can
    // reach the window in the middle of a run.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastProgressPaint_ >= kProgressPaintMs || done == total) {
        lastProgressPaint_ = now;
        ProgressBar1->repaint();
    }
}

void TForm1::Button1Click() {
    if (generating_)
        return; // a second run cannot start inside the first
    RunScope scope(generating_, Button1, ProgressBar1);

    GenerationRequest request;
    if (Tag > 0)
        request.picture = ToRasterView(Image2);
    request.columnCount = ColumnCount;
    request.rowCount = RowCount;
    request.shadeLimitText = Edit4->text().toStdString();
    request.limitShades = CheckBox1->isChecked();
    request.perceptual = CheckBox6->isChecked();
    request.cleanConfetti = CheckBox7->isChecked();
    request.windowState = Tag;

    const std::int32_t columns = ColumnCount;
    GenerationOutcome outcome =
        RunGeneration(request, [this, columns](std::int32_t done) { showProgress(done, columns); });
    ProgressBar1->reset();
    if (auto* refusal = std::get_if<GenerationRefusal>(&outcome)) {
        // Refused before anything changed; the previous pattern stays on screen.
        dialogs_.showMessage(this, QString::fromStdString(refusal->message));
        return;
    }
    auto& result = std::get<GenerationResult>(outcome);

    const QString previousLabel = Label13->text();
    Label13->setText(QString::fromStdString(result.shadeLabel));
    if (result.tooManyShades)
        dialogs_.showMessage(this, QString::fromUtf8(kTooManyShadesWarning));
    try {
        drawPatternImages(result.pattern);
    } catch (...) {
        // A pattern too large to draw keeps the previous pattern and its images.
        Label13->setText(previousLabel);
        throw;
    }
    Pattern = std::move(result.pattern);
    DrawKey();

    Tag = 2;
    TabControl1->setTabIndex(kPatternTab);
    TabControl1Change();
    setExportButtonsEnabled(true);
}

DrawOptions TForm1::drawOptions() const {
    return DrawOptions::fromChecks(CheckBox2->isChecked(), CheckBox3->isChecked(),
                                   CheckBox4->isChecked(), CheckBox5->isChecked());
}

void TForm1::drawPatternImages(const PatternData& data) {
    pelvano::DrawPattern(data, ColumnCount, RowCount, drawOptions(), Image3, Image4,
                         [this](std::int32_t done) { showProgress(done, ColumnCount); });
    ApplyRealSize();
    ProgressBar1->setRange(0, 100);
    ProgressBar1->reset();
    FormResize();
    TabControl1Change();
}

void TForm1::DrawPattern() {
    drawPatternImages(Pattern);
}

void TForm1::DrawKey() {
    pelvano::DrawKey(Pattern, drawOptions(), KeyImage);
    FormResize();
    TabControl1Change();
}

void TForm1::CheckBox2Click() {
    CheckBox4->setEnabled(!CheckBox3->isChecked());
    CheckBox5->setEnabled(CheckBox3->isChecked());
    if (Tag >= 2) {
        DrawPattern();
        DrawKey();
    }
}

} // namespace pelvano
