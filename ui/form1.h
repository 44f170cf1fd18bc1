#pragma once

#include "chart/chart_pdf.h"
#include "engine/pattern_data.h"
#include "engine/real.h"
#include "render/draw_options.h"
#include "ui/dialogs.h"
#include "ui/error_guard.h"
#include "ui/picture_view.h"
#include "ui/spin_buttons.h"
#include "ui/startup_settings.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <thread>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace pelvano {

class TForm5;

inline const QString kWindowTitle = QStringLiteral(" Создаватель схем для вышивки");
inline const QString kOpenPictureTitle = QStringLiteral("Открываем картинку для создания схемы");
inline const QString kOpenPictureFilter =
    QStringLiteral("Картинки (*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff;*.webp)|"
                   "*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff;*.webp");
inline const QString kSavePictureFilter =
    QStringLiteral("Картинка (*.bmp)|*.bmp|Картинка (*.jpg)|*.jpg");
inline const QString kNoShadesLabel = QStringLiteral("Оттенков: 0 (из 0)");

// The main window. It owns everything of a session: the source picture, the last generation
// run's data, the drawn images and the size state. Controls keep their form names, so handlers
// read like the form they serve; handlers are spread over several files by topic:
//   form1_layout.cpp    controls, places, tab order, signal wiring
//   form1_sizes.cpp     the size calculator fields
//   form1_view.cpp      tabs, fitting, natural size, wheel
//   form1_commands.cpp  open a picture, generate, drawing options
//   form1_settings.cpp  start-up and closing (settings store)
//   form1_save.cpp      save commands
//   form1_print.cpp     print commands
//   form1_chart.cpp     the chart to stitch from, as a PDF
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // Tool buttons.
    QToolButton* SpeedButton1 = nullptr; // open a picture
    QToolButton* SpeedButton2 = nullptr; // save the pattern
    QToolButton* SpeedButton3 = nullptr; // save the key
    QToolButton* SpeedButton4 = nullptr; // print the pattern
    QToolButton* SpeedButton5 = nullptr; // print the key
    QToolButton* SpeedButton6 = nullptr; // save the chart to stitch from (PDF)

    // View mode and drawing options.
    QGroupBox* GroupBox3 = nullptr;
    QRadioButton* RadioButton6 = nullptr; // natural size, "1:1"
    QRadioButton* RadioButton5 = nullptr; // fit to window
    QCheckBox* CheckBox2 = nullptr;       // grid lines
    QCheckBox* CheckBox3 = nullptr;       // symbols
    QCheckBox* CheckBox4 = nullptr;       // stitch texture
    QCheckBox* CheckBox5 = nullptr;       // colour under symbols

    // Cross size.
    QGroupBox* GroupBox4 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit3 = nullptr; // cross width, mm
    SpinButtons* UpDown1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label14 = nullptr;
    QLineEdit* Edit7 = nullptr; // cross height, mm
    SpinButtons* UpDown2 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label18 = nullptr;
    // The fabric: choosing a count sets both sizes. What it shows follows the sizes and is not
    // stored; each item's data is its crosses per inch, 0 for "Своя".
    QComboBox* ComboBox1 = nullptr;

    // Embroidery size and shade limit.
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit2 = nullptr; // width, mm
    QRadioButton* RadioButton1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr; // height, mm
    QRadioButton* RadioButton2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* Edit6 = nullptr; // columns
    QRadioButton* RadioButton3 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit5 = nullptr; // rows
    QRadioButton* RadioButton4 = nullptr;
    QLabel* Label17 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // limit the shades
    QLabel* Label7 = nullptr;       // its caption; clicking it toggles the box
    QLineEdit* Edit4 = nullptr;     // the shade limit
    // Optional ways of making the pattern; remembered in a group of their own.
    QCheckBox* CheckBox6 = nullptr; // match colours as the eye sees them
    QCheckBox* CheckBox7 = nullptr; // clean up lone crosses

    // Summary.
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label10 = nullptr; // crosses
    QLabel* Label13 = nullptr; // shades
    QLabel* Label11 = nullptr; // width
    QLabel* Label12 = nullptr; // height

    QPushButton* Button1 = nullptr; // generate
    QProgressBar* ProgressBar1 = nullptr;

    // The view.
    TabControl* TabControl1 = nullptr;
    ScrollBox* ScrollBox1 = nullptr;
    ImageControl* Image1 = nullptr;

    // Pictures that are never shown themselves; Image1 shows a copy of one of them.
    QImage Image2;   // the source picture, 24-bit
    QImage Image3;   // the exact grid
    QImage Image4;   // the DMC pattern
    QImage KeyImage; // the key

    // Session state.
    std::int32_t Tag = 0; // 0 no picture, 1 picture opened, 2 pattern generated
    std::int32_t MasterIndex = 1;
    Real PictureAspect = 1.0L;
    std::int32_t ColumnCount = 0;
    std::int32_t RowCount = 0;
    Real CrossWidth = 0;
    Real CrossHeight = 0;
    std::int32_t PrinterIndex = -1;
    PatternData Pattern; // what the last generation run left behind
    QString PictureFile; // the opened picture's full path; "" until one is opened
    QString OpenDir;     // initial folder of the open dialog
    QString SaveDir;     // initial folder of the save dialog
    // The chart dialog's choices, kept in a settings group of their own.
    ChartSettings ChartOptions;
    // The save dialog's filter entry chosen last, kept while the program runs: 1 BMP, 2 JPEG,
    // 3 OXS (offered for the pattern only).
    int SaveFilterIndex = 1;
    // The printer choice dialog, made at start-up after the window.
    TForm5* Form5 = nullptr;

    // Size calculator.
    void RadioButton1Click();
    void Edit2Change();
    void Edit1Change();
    void Edit6Change();
    void Edit5Change();
    void Edit3Change();
    void Edit7Change();
    void UpDown1Click();
    void UpDown2Click();
    void ComboBox1Change();
    void RecalcSizes();
    // Key filters: true when the typed character may reach the edit.
    bool Edit1KeyPress(QLineEdit* edit, QChar key) const;
    bool Edit3KeyPress(QLineEdit* edit, QChar key) const;

    // View.
    void TabControl1Change();
    void FormResize();
    void RadioButton5Click();
    void ApplyRealSize();
    // `position` in the window's coordinates, `delta` the wheel's angle delta.
    void FormMouseWheel(QPoint position, int delta);
    // Pixels per millimetre of the screen the window is on.
    Real screenPixelsPerMm() const;

    // Commands.
    void SpeedButton1Click();
    // Everything the open command does once a file is chosen; a dropped file and a file named
    // on the command line come in here too.
    void OpenPictureFile(const QString& file);
    void Button1Click();
    void CheckBox2Click();
    void DrawPattern();
    void DrawKey();
    DrawOptions drawOptions() const;
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();

    // Small handlers.
    void Label7Click();
    void Edit4Click();

    // Start-up and closing.
    void FormCreate();
    void FormClose();
    // Puts the settings into the controls in the order that the size handlers rely on.
    void ApplyStartupSettings(const StartupSettings& settings);
    void RestoreSettings();
    void SaveSettings();

    Dialogs& dialogs() { return dialogs_; }
    // Runs a handler inside the general error handler.
    template <class Fn> void guarded(Fn&& fn) { guard_.run(std::forward<Fn>(fn)); }
    bool generating() const { return generating_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void arrangeControls();
    void setTabOrderChain();
    void connectHandlers();
    void updateRadioFocus();
    void createShortcuts();

    // Program writes into controls raise the controls' handlers synchronously; an error there
    // ends the calling handler as well.
    void writeText(QLineEdit* edit, const QString& text);
    void writeChecked(QAbstractButton* button, bool checked);
    // Lets the window repaint and lay out; user input waits until the handler has finished, so
    // no click can start a command in the middle of another.
    void processPendingEvents();

    void sizeFieldChange(QLineEdit* edit, QRadioButton* master);
    void crossSizeChange(QLineEdit* edit, SpinButtons* spin);
    // Settles a cross size still being typed when the user leaves the field or presses Enter.
    void completeCrossSize(QLineEdit* edit);
    void spinClick(SpinButtons* spin, QLineEdit* edit);
    // Shows the fabric whose crosses have the sizes in use, `preferred` when two fabrics do, or
    // "Своя" when none does.
    void showFabricOfSizes(int preferred);
    // Sets a summary text, in a smaller size where the label is too narrow for all of it.
    void showWhole(QLabel* label, const QString& text);
    void showProgress(std::int32_t done, std::int32_t total);
    void drawPatternImages(const PatternData& data);
    void setExportButtonsEnabled(bool enabled);

    Dialogs& dialogs_;
    ErrorGuard guard_;
    bool generating_ = false;
    qint64 lastProgressPaint_ = 0;
    // Works out the nearest-thread tables while the user chooses a picture; joined on closing.
    std::jthread matcherWarmUp_;
};

} // namespace pelvano
