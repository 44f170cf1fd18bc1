#include "ui/form5.h"

#include "ui/interface_font.h"

#include <QComboBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <utility>

namespace pelvano {

TForm5::TForm5(PrinterList printers, std::int32_t& printerIndex, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      printers_(std::move(printers)), printerIndex_(printerIndex) {
    setObjectName(QStringLiteral("Form5"));
    setModal(true);
    setFixedSize(340, 114);

    // The same small interface face as the main window, a little larger for the caption.
    const QFont face = InterfaceFont(font());
    setFont(face);
    QFont bold = face;
    bold.setBold(true);
    QFont caption = bold;
    caption.setPixelSize(12);

    Label1 = new QLabel(QStringLiteral("Выберите принтер:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(caption);
    Label1->move(8, 8);
    Label1->adjustSize();

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setGeometry(8, 28, 325, 21);

    Button1 = new QPushButton(QStringLiteral("Печать"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFont(bold);
    Button1->setGeometry(52, 69, 92, 25);
    Button1->setDefault(true);

    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFont(bold);
    Button2->setGeometry(188, 69, 92, 25);

    // activated, not currentIndexChanged: only the user's choices move the stored index.
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    FormCreate();
}

void TForm5::FormCreate() {
    ComboBox1->clear();
    ComboBox1->addItems(printers_.names);
    ComboBox1->addItem(kPdfFileEntry);
    // A stored position past the list (a printer removed since) selects nothing and prints on the
    // default printer; the stored value itself stays until the user picks another. A position
    // just past the printers is the PDF entry, as earlier versions stored that choice.
    if (printerIndex_ == kPdfPrinterIndex) {
        ComboBox1->setCurrentIndex(pdfEntryIndex());
        return;
    }
    const bool listed = printerIndex_ >= 0 && printerIndex_ < ComboBox1->count();
    ComboBox1->setCurrentIndex(listed ? printerIndex_ : -1);
}

void TForm5::ComboBox1Change() {
    const int selected = ComboBox1->currentIndex();
    printerIndex_ = selected == pdfEntryIndex() ? kPdfPrinterIndex : selected;
}

void TForm5::Button1Click() {
    Tag = 1;
    accept();
}

void TForm5::Button2Click() {
    reject();
}

void TForm5::centreOver(const QWidget* owner) {
    const QRect outer = owner->frameGeometry();
    const QSize own = frameGeometry().size();
    move(outer.left() + (outer.width() - own.width()) / 2,
         outer.top() + (outer.height() - own.height()) / 2);
}

void TForm5::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace pelvano
