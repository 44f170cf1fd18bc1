// The window's view at natural size ("1:1") with a large photo and a large pattern: every change
// of the view repaints only what is on screen, so it costs the same whatever the real size.
// Drives a real main window offscreen; each figure includes the repaint of the window.
#include "io/picture_export.h"
#include "ui/dialogs.h"
#include "ui/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using pelvano::TForm1;

// Every dialog answered "no" without a word: the benchmark never waits for a person.
class SilentDialogs : public pelvano::Dialogs {
public:
    QString openPictureFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<pelvano::SaveChoice> savePictureFile(QWidget*, const QString&, const QString&,
                                                       const QString&, int) override {
        return std::nullopt;
    }
    void showMessage(QWidget*, const QString&) override {}
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void showPrinterDialog(pelvano::TForm5&) override {}
    bool chartOptions(QWidget*, pelvano::ChartSettings&) override { return false; }
};

// A 20-megapixel photo-like picture (smooth gradients with detail), saved once as a bitmap.
QString LargePicture(const QTemporaryDir& folder) {
    QImage picture(5472, 3648, QImage::Format_BGR888);
    for (int y = 0; y < picture.height(); ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            row[3 * x] = static_cast<uchar>(x / 23 + (x * y) % 7);
            row[3 * x + 1] = static_cast<uchar>(y / 15 + (x ^ y) % 5);
            row[3 * x + 2] = static_cast<uchar>((x + y) / 36);
        }
    }
    const QString path = folder.filePath("photo.bmp");
    pelvano::SavePicture(picture, path, pelvano::PictureFormat::Bmp);
    return path;
}

struct Window {
    SilentDialogs dialogs;
    std::unique_ptr<TForm1> form;
    QTemporaryDir folder;

    // 1000 columns of crosses 2 x 1,7 mm, shown at natural size, with a pattern made.
    Window() {
        form = std::make_unique<TForm1>(dialogs);
        form->resize(1200, 800);
        form->show();
        QApplication::processEvents();
        form->Edit3->setText("2");
        form->Edit7->setText("1,7");
        form->RadioButton3->click();
        form->Edit6->setText("1000");
        form->OpenPictureFile(LargePicture(folder));
        naturalSize(true);
        form->Button1Click();
        settle();
    }
    void naturalSize(bool natural) {
        (natural ? form->RadioButton6 : form->RadioButton5)->click();
        settle();
    }
    // Runs the events the change left, the repaint of what changed among them.
    void settle() { QApplication::processEvents(); }
};

Window& TheWindow() {
    static Window window;
    return window;
}

void BM_ViewTabSwitch(benchmark::State& state) {
    Window& w = TheWindow();
    w.naturalSize(true);
    int tab = 0;
    for (auto _ : state) {
        tab = (tab + 1) % 3; // picture, exact grid, pattern
        w.form->TabControl1->setTabIndex(tab);
        w.form->TabControl1Change();
        w.settle();
    }
}
BENCHMARK(BM_ViewTabSwitch)->Unit(benchmark::kMillisecond);

void BM_ViewModeSwitchToNatural(benchmark::State& state) {
    Window& w = TheWindow();
    w.form->TabControl1->setTabIndex(2);
    w.form->TabControl1Change();
    for (auto _ : state) {
        state.PauseTiming();
        w.naturalSize(false);
        state.ResumeTiming();
        w.naturalSize(true);
    }
}
BENCHMARK(BM_ViewModeSwitchToNatural)->Unit(benchmark::kMillisecond);

void BM_ViewSizeEdit(benchmark::State& state) {
    Window& w = TheWindow();
    w.naturalSize(true);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        w.form->Edit6->setText(odd ? "999" : "1000");
        w.settle();
    }
}
BENCHMARK(BM_ViewSizeEdit)->Unit(benchmark::kMillisecond);

void BM_ViewWindowResize(benchmark::State& state) {
    Window& w = TheWindow();
    w.naturalSize(true);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        w.form->resize(odd ? 1210 : 1200, odd ? 810 : 800);
        w.settle();
    }
}
BENCHMARK(BM_ViewWindowResize)->Unit(benchmark::kMillisecond);

// Generation with the pattern shown at natural size against the fitted view: the view's share.
void BM_GenerationInView(benchmark::State& state) {
    Window& w = TheWindow();
    w.naturalSize(state.range(0) == 1);
    for (auto _ : state) {
        w.form->Button1Click();
        w.settle();
    }
}
BENCHMARK(BM_GenerationInView)->Arg(0)->Arg(1)->ArgName("natural")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
