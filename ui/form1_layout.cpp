#include "ui/compact_combo_box.h"
#include "ui/form1.h"
#include "ui/interface_font.h"
#include "ui/key_filters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

namespace pelvano {

namespace {

const QString kMasterHint = QStringLiteral(
    "Выбранный параметр устанавливается вручную,\nостальные параметры установит компьютер.");

// The left panel is laid out in fixed pixels; the tab control on the right follows the window.
constexpr int kTabLeft = 179;
constexpr int kEdgeMargin = 4;
constexpr int kMinimumWidth = 575;
// The left panel ends 7 pixels above this.
constexpr int kMinimumHeight = 620;

// Fabrics offered for the cross size, with their crosses per inch; evenweave is stitched over two
// threads, so 28-count gives 14 crosses per inch.
struct Fabric {
    const char* name;
    int crossesPerInch;
};
constexpr Fabric kFabrics[] = {{"Аида 11", 11},
                               {"Аида 14", 14},
                               {"Аида 16", 16},
                               {"Аида 18", 18},
                               {"Равномерка 28 (через 2)", 14},
                               {"Равномерка 32 (через 2)", 16}};

template <class W> W* make(QWidget* parent, const char* name) {
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* l = make<QLabel>(parent, name);
    l->setText(text);
    l->adjustSize();
    l->move(left, top);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, const QString& text, QRect place,
                int typingLimit) {
    auto* e = make<QLineEdit>(parent, name);
    e->setText(text);
    e->setGeometry(place);
    e->setValidator(new TypingLengthValidator(typingLimit, e));
    return e;
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& icon, const QString& hint,
                        int left) {
    auto* b = make<QToolButton>(parent, name);
    b->setGeometry(left, 2, 23, 22);
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void fitHeight(QWidget* widget, int left, int top, int width) {
    widget->setGeometry(left, top, width, std::max(17, widget->sizeHint().height()));
}

} // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), guard_(dialogs, this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kWindowTitle);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    createControls();
    setTabOrderChain();
    connectHandlers();
    createShortcuts();
    setAcceptDrops(true);
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
    const QFont face = InterfaceFont(font());
    setFont(face);
    QFont bold = face;
    bold.setBold(true);

    // Group captions sit on the frame line, so the controls keep their places just below it.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 2px; }"));

    SpeedButton1 = toolButton(this, "SpeedButton1", QStringLiteral(":/icons/open.png"),
                              QStringLiteral("Открыть картинку"), 4);
    SpeedButton2 = toolButton(this, "SpeedButton2", QStringLiteral(":/icons/save-pattern.png"),
                              QStringLiteral("Сохранить схему как картинку"), 28);
    SpeedButton3 = toolButton(this, "SpeedButton3", QStringLiteral(":/icons/save-key.png"),
                              QStringLiteral("Сохранить ключ как картинку"), 52);
    SpeedButton4 = toolButton(this, "SpeedButton4", QStringLiteral(":/icons/print-pattern.png"),
                              QStringLiteral("Печатать схему"), 76);
    SpeedButton5 = toolButton(this, "SpeedButton5", QStringLiteral(":/icons/print-key.png"),
                              QStringLiteral("Печатать ключ"), 100);
    SpeedButton6 = toolButton(this, "SpeedButton6", QStringLiteral(":/icons/chart-pdf.png"),
                              QStringLiteral("Сохранить схему для вышивания (PDF)"), 124);
    setExportButtonsEnabled(false);

    GroupBox3 = make<QGroupBox>(this, "GroupBox3");
    GroupBox3->setTitle(QStringLiteral("Масштаб "));
    GroupBox3->setGeometry(4, 28, 170, 35);
    GroupBox3->setFont(bold);
    RadioButton6 = make<QRadioButton>(GroupBox3, "RadioButton6");
    RadioButton6->setText(QStringLiteral("1:1"));
    RadioButton6->setGeometry(6, 14, 43, 17);
    RadioButton5 = make<QRadioButton>(GroupBox3, "RadioButton5");
    RadioButton5->setText(QStringLiteral("Вписать в окно"));
    RadioButton5->setGeometry(52, 14, 115, 17);
    RadioButton5->setChecked(true);

    CheckBox2 = make<QCheckBox>(this, "CheckBox2");
    CheckBox2->setText(QStringLiteral("Рисовать сетку"));
    CheckBox3 = make<QCheckBox>(this, "CheckBox3");
    CheckBox3->setText(QStringLiteral("Рисовать значки"));
    CheckBox4 = make<QCheckBox>(this, "CheckBox4");
    CheckBox4->setText(QStringLiteral("Реалистичные стежки"));
    CheckBox5 = make<QCheckBox>(this, "CheckBox5");
    CheckBox5->setText(QStringLiteral("Отображать цвет"));
    int top = 68;
    for (QCheckBox* box : {CheckBox2, CheckBox3, CheckBox4, CheckBox5}) {
        box->setFont(bold);
        fitHeight(box, 10, top, 160);
        top += 20;
    }

    GroupBox4 = make<QGroupBox>(this, "GroupBox4");
    GroupBox4->setTitle(QStringLiteral("Размеры крестика"));
    // Three rows: width, height and the fabric. The groups, the button and the progress bar below
    // sit lower by the fabric row's 28 pixels.
    GroupBox4->setGeometry(4, 149, 170, 106);
    GroupBox4->setFont(bold);
    Label6 = label(GroupBox4, "Label6", QStringLiteral("Ширина"), 8, 22);
    Edit3 = edit(GroupBox4, "Edit3", QStringLiteral("1,00"), QRect(70, 19, 48, 21), 4);
    UpDown1 = make<SpinButtons>(GroupBox4, "UpDown1");
    UpDown1->setGeometry(117, 18, 16, 24);
    Label5 = label(GroupBox4, "Label5", QStringLiteral("мм"), 139, 22);
    Label14 = label(GroupBox4, "Label14", QStringLiteral("Высота"), 8, 49);
    Edit7 = edit(GroupBox4, "Edit7", QStringLiteral("1,00"), QRect(70, 47, 48, 21), 4);
    UpDown2 = make<SpinButtons>(GroupBox4, "UpDown2");
    UpDown2->setGeometry(117, 46, 16, 24);
    Label15 = label(GroupBox4, "Label15", QStringLiteral("мм"), 139, 51);
    for (SpinButtons* spin : {UpDown1, UpDown2}) {
        spin->setRange(1, 1000);
        spin->setPosition(100);
    }
    Label18 = label(GroupBox4, "Label18", QStringLiteral("Канва"), 8, 78);
    ComboBox1 = make<CompactComboBox>(GroupBox4, "ComboBox1");
    ComboBox1->setGeometry(47, 75, 118, 21);
    for (const Fabric& fabric : kFabrics)
        ComboBox1->addItem(QString::fromUtf8(fabric.name), fabric.crossesPerInch);
    ComboBox1->addItem(QStringLiteral("Своя"), 0);
    ComboBox1->setCurrentIndex(ComboBox1->count() - 1); // "1,00" is no fabric's size

    GroupBox1 = make<QGroupBox>(this, "GroupBox1");
    GroupBox1->setTitle(QStringLiteral("Параметры вышивки"));
    GroupBox1->setGeometry(4, 256, 170, 198);
    GroupBox1->setFont(bold);
    const QString size150 = QStringLiteral("150");
    Label1 = label(GroupBox1, "Label1", QStringLiteral("Ширина"), 8, 22);
    Edit2 = edit(GroupBox1, "Edit2", size150, QRect(70, 19, 48, 21), 5);
    RadioButton1 = make<QRadioButton>(GroupBox1, "RadioButton1");
    RadioButton1->move(121, 23);
    Label3 = label(GroupBox1, "Label3", QStringLiteral("мм"), 139, 23);
    Label2 = label(GroupBox1, "Label2", QStringLiteral("Высота"), 9, 45);
    Edit1 = edit(GroupBox1, "Edit1", size150, QRect(70, 42, 48, 21), 5);
    RadioButton2 = make<QRadioButton>(GroupBox1, "RadioButton2");
    RadioButton2->move(121, 46);
    Label4 = label(GroupBox1, "Label4", QStringLiteral("мм"), 139, 45);
    Label9 = label(GroupBox1, "Label9", QStringLiteral("Столбцов"), 9, 68);
    Edit6 = edit(GroupBox1, "Edit6", size150, QRect(70, 65, 48, 21), 5);
    RadioButton3 = make<QRadioButton>(GroupBox1, "RadioButton3");
    RadioButton3->move(121, 67);
    Label16 = label(GroupBox1, "Label16", QStringLiteral("шт"), 141, 67);
    Label8 = label(GroupBox1, "Label8", QStringLiteral("Строк"), 9, 91);
    Edit5 = edit(GroupBox1, "Edit5", size150, QRect(70, 88, 48, 21), 5);
    RadioButton4 = make<QRadioButton>(GroupBox1, "RadioButton4");
    RadioButton4->move(121, 90);
    Label17 = label(GroupBox1, "Label17", QStringLiteral("шт"), 141, 89);
    for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        radio->resize(radio->sizeHint().width(), 17);
    RadioButton1->setChecked(true);
    CheckBox1 = make<QCheckBox>(GroupBox1, "CheckBox1");
    CheckBox1->setGeometry(9, 118, 16, 17);
    CheckBox1->setChecked(true);
    Label7 = label(GroupBox1, "Label7", QStringLiteral("Ограничить"), 28, 114);
    Edit4 = edit(GroupBox1, "Edit4", QStringLiteral("30"), QRect(126, 119, 30, 21), 3);
    // Three rows below the limit (the clean-up's caption takes two); everything under the group
    // moved down by their height.
    CheckBox6 = make<QCheckBox>(GroupBox1, "CheckBox6");
    CheckBox6->setText(QStringLiteral("Цвет по восприятию"));
    CheckBox6->setToolTip(QStringLiteral(
        "Усреднять клетки по свету и подбирать нитки так, как различает глаз (CIEDE2000)"));
    CheckBox6->setGeometry(9, 142, 158, 19);
    CheckBox7 = make<QCheckBox>(GroupBox1, "CheckBox7");
    CheckBox7->setText(QStringLiteral("Убрать одиночные\nкрестики"));
    CheckBox7->setToolTip(
        QStringLiteral("Одиночный крестик берёт нитку соседей, если она близка к его цвету"));
    CheckBox7->setGeometry(9, 161, 158, 32);

    GroupBox2 = make<QGroupBox>(this, "GroupBox2");
    GroupBox2->setTitle(QStringLiteral("Итого"));
    GroupBox2->setGeometry(4, 455, 170, 101);
    GroupBox2->setFont(bold);
    Label10 = label(GroupBox2, "Label10", QStringLiteral("Крестиков: 0"), 8, 21);
    Label13 = label(GroupBox2, "Label13", kNoShadesLabel, 8, 39);
    Label11 = label(GroupBox2, "Label11", QStringLiteral("Ширина: 0 мм"), 8, 58);
    Label12 = label(GroupBox2, "Label12", QStringLiteral("Высота: 0 мм"), 9, 77);
    // Summary texts grow with the numbers; give them the width of the box.
    for (QLabel* l : {Label10, Label13, Label11, Label12})
        l->resize(158, l->height());

    Button1 = make<QPushButton>(this, "Button1");
    Button1->setText(QStringLiteral("Генерировать схему"));
    Button1->setGeometry(19, 567, 141, 25);
    Button1->setFont(bold);
    QPalette magenta = Button1->palette();
    magenta.setColor(QPalette::Active, QPalette::ButtonText, Qt::magenta);
    magenta.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::magenta);
    Button1->setPalette(magenta);

    ProgressBar1 = make<QProgressBar>(this, "ProgressBar1");
    ProgressBar1->setGeometry(5, 603, 168, 10);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->reset();

    TabControl1 = make<TabControl>(this, "TabControl1");
    for (const char* caption : {"Исходное изображение", "Точная сетка", "Схема DMC", "Ключ"})
        TabControl1->tabBar()->addTab(QString::fromUtf8(caption));
    TabControl1->setTabIndex(0);
    ScrollBox1 = TabControl1->scrollBox();
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    Image1 = ScrollBox1->image();
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setLeft(8);
    Image1->setTop(8);
    Image1->setImageSize(117, 113);

    // The left panel's captions and texts are bold. Set on every control by itself: with a style
    // sheet on the window, fonts no longer pass from a group box to its children.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control != TabControl1 && !TabControl1->isAncestorOf(control))
            control->setFont(bold);
    }

    arrangeControls();
}

void TForm1::arrangeControls() {
    TabControl1->setGeometry(kTabLeft, 0, std::max(0, width() - kTabLeft - kEdgeMargin),
                             std::max(0, height() - kEdgeMargin));
    TabControl1->arrange();
}

void TForm1::setTabOrderChain() {
    // clang-format off
    const QList<QWidget*> chain = {
        CheckBox2,    CheckBox3,    CheckBox4,    CheckBox5,    Edit3,     Edit7, ComboBox1,
        Edit2,        Edit1,        Edit6,        Edit5,        CheckBox1, Edit4,
        CheckBox6,    CheckBox7,
        RadioButton1, RadioButton2, RadioButton3, RadioButton4, Button1,   TabControl1->tabBar(),
        RadioButton6, RadioButton5};
    // clang-format on
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);
    for (QWidget* inert : std::initializer_list<QWidget*>{GroupBox1, GroupBox2, GroupBox3,
                                                          GroupBox4, ProgressBar1, TabControl1})
        inert->setFocusPolicy(Qt::NoFocus);
    Button1->setAutoDefault(false);
}

void TForm1::updateRadioFocus() {
    // Tab visits only the checked button of each group; arrows move within it.
    for (QRadioButton* radio :
         {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6})
        radio->setFocusPolicy(radio->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TForm1::connectHandlers() {
    auto on = [this](auto* sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(SpeedButton1, &QToolButton::clicked, &TForm1::SpeedButton1Click);
    on(SpeedButton2, &QToolButton::clicked, &TForm1::SpeedButton2Click);
    on(SpeedButton3, &QToolButton::clicked, &TForm1::SpeedButton3Click);
    on(SpeedButton4, &QToolButton::clicked, &TForm1::SpeedButton4Click);
    on(SpeedButton5, &QToolButton::clicked, &TForm1::SpeedButton5Click);
    on(SpeedButton6, &QToolButton::clicked, &TForm1::SpeedButton6Click);
    on(Button1, &QPushButton::clicked, &TForm1::Button1Click);

    // Checking a radio button from the program runs its handler just as a click does.
    for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3, RadioButton4}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            updateRadioFocus();
            if (checked)
                guarded([this] { RadioButton1Click(); });
        });
    }
    for (QRadioButton* radio : {RadioButton5, RadioButton6}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            updateRadioFocus();
            if (checked)
                guarded([this] { RadioButton5Click(); });
        });
    }
    for (QCheckBox* box : {CheckBox2, CheckBox3, CheckBox4, CheckBox5})
        on(box, &QCheckBox::toggled, &TForm1::CheckBox2Click);

    // textChanged, not textEdited: the calculator's own writes must run these too. Qt raises it
    // only when the text really changes, which ends the nesting of the cross-size handlers.
    on(Edit2, &QLineEdit::textChanged, &TForm1::Edit2Change);
    on(Edit1, &QLineEdit::textChanged, &TForm1::Edit1Change);
    on(Edit6, &QLineEdit::textChanged, &TForm1::Edit6Change);
    on(Edit5, &QLineEdit::textChanged, &TForm1::Edit5Change);
    on(Edit3, &QLineEdit::textChanged, &TForm1::Edit3Change);
    on(Edit7, &QLineEdit::textChanged, &TForm1::Edit7Change);
    on(UpDown1, &SpinButtons::clicked, &TForm1::UpDown1Click);
    on(UpDown2, &SpinButtons::clicked, &TForm1::UpDown2Click);
    // Only the user's choice: showing the fabric of the sizes must not set them again.
    on(ComboBox1, &QComboBox::activated, &TForm1::ComboBox1Change);
    on(TabControl1, &TabControl::changed, &TForm1::TabControl1Change);

    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7})
        e->installEventFilter(this);
    Label7->installEventFilter(this);
    ScrollBox1->horizontalScrollBar()->installEventFilter(this);
    ScrollBox1->verticalScrollBar()->installEventFilter(this);
    updateRadioFocus();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        // Enter generates from the sizes in the fields, so a cross size still being typed is
        // settled first; the key then goes on to press the default button.
        if ((edit == Edit3 || edit == Edit7) &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            guarded([this, edit] { completeCrossSize(edit); });
        if (edit == nullptr || !IsTypedCharacter(*key))
            break;
        const QChar typed = key->text().front();
        const bool passes = (edit == Edit3 || edit == Edit7) ? Edit3KeyPress(edit, typed)
                                                             : Edit1KeyPress(edit, typed);
        if (!passes)
            return true; // swallowed
        break;
    }
    case QEvent::FocusOut: {
        // Leaving a cross field settles a number still being typed there ("2," becomes 2). A
        // context menu or another window taking the focus for a while does not: the focus comes
        // back to the field with the text as it was.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if ((watched == Edit3 || watched == Edit7) && reason != Qt::PopupFocusReason &&
            reason != Qt::ActiveWindowFocusReason) {
            auto* edit = static_cast<QLineEdit*>(watched);
            guarded([this, edit] { completeCrossSize(edit); });
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->rect().contains(mouse->position().toPoint()))
            break;
        if (watched == Label7)
            guarded([this] { Label7Click(); });
        else if (watched == Edit4)
            guarded([this] { Edit4Click(); });
        break;
    }
    case QEvent::Wheel: {
        // Over the scroll bars the wheel moves the view the same fixed step as elsewhere.
        if (watched == ScrollBox1->horizontalScrollBar() ||
            watched == ScrollBox1->verticalScrollBar()) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const QPoint at =
                static_cast<QWidget*>(watched)->mapTo(this, wheel->position().toPoint());
            const int delta = wheel->angleDelta().y();
            guarded([this, at, delta] { FormMouseWheel(at, delta); });
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrangeControls();
    guarded([this] { FormResize(); });
}

void TForm1::wheelEvent(QWheelEvent* event) {
    // Wheel events that no control used end up here, wherever the pointer is in the window.
    const QPoint at = event->position().toPoint();
    const int delta = event->angleDelta().y();
    guarded([this, at, delta] { FormMouseWheel(at, delta); });
    event->ignore();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // Button1 is the window's default button: Enter anywhere presses it.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (Button1->isEnabled())
            Button1->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    guarded([this] { FormClose(); });
    QWidget::closeEvent(event);
}

void TForm1::writeText(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    guard_.rethrowPending();
}

void TForm1::writeChecked(QAbstractButton* button, bool checked) {
    button->setChecked(checked);
    guard_.rethrowPending();
}

void TForm1::setExportButtonsEnabled(bool enabled) {
    for (QToolButton* button :
         {SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6})
        button->setEnabled(enabled);
}

void TForm1::Label7Click() {
    CheckBox1->setChecked(!CheckBox1->isChecked());
}

void TForm1::Edit4Click() {
    Edit4->selectAll();
}

} // namespace pelvano
