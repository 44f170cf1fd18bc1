#include "engine/size_calculator.h"
#include "engine/thread_amount.h"
#include "ui/form1.h"
#include "ui/interface_font.h"
#include "ui/key_filters.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace pelvano {

namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The cross size the calculation works with: the field's text, or while a number is still being
// typed there, the size last taken from it, which the spin position holds.
std::string crossSizeInUse(const QLineEdit* edit, const SpinButtons* spin) {
    std::string text = edit->text().toStdString();
    if (IsUnfinishedCrossSize(text))
        return CrossSizeText(spin->position());
    return text;
}

} // namespace

void TForm1::RadioButton1Click() {
    // Only the master field can be typed in; the others show what the calculator derives.
    for (QLineEdit* edit : {Edit1, Edit2, Edit5, Edit6})
        edit->setEnabled(false);
    if (RadioButton1->isChecked()) {
        Edit2->setEnabled(true);
        MasterIndex = 1;
    } else if (RadioButton2->isChecked()) {
        Edit1->setEnabled(true);
        MasterIndex = 2;
    } else if (RadioButton3->isChecked()) {
        Edit6->setEnabled(true);
        MasterIndex = 3;
    } else if (RadioButton4->isChecked()) {
        Edit5->setEnabled(true);
        MasterIndex = 4;
    }
}

void TForm1::RecalcSizes() {
    // The checked button decides, not MasterIndex: a stored master outside 1..4 checks no button.
    int master = 0;
    if (RadioButton1->isChecked())
        master = 1;
    else if (RadioButton2->isChecked())
        master = 2;
    else if (RadioButton3->isChecked())
        master = 3;
    else if (RadioButton4->isChecked())
        master = 4;

    SizeTexts texts;
    texts.width = Edit2->text().toStdString();
    texts.height = Edit1->text().toStdString();
    texts.columns = Edit6->text().toStdString();
    texts.rows = Edit5->text().toStdString();
    texts.crossWidth = crossSizeInUse(Edit3, UpDown1);
    texts.crossHeight = crossSizeInUse(Edit7, UpDown2);
    const SizeCalculation result = pelvano::RecalcSizes(master, texts, PictureAspect);

    // Each write raises that field's change handler; only the master's handler recalculates,
    // and the master is never written here.
    for (const auto& [field, text] : result.writes) {
        QLineEdit* target = field == SizeField::Width     ? Edit2
                            : field == SizeField::Height  ? Edit1
                            : field == SizeField::Columns ? Edit6
                                                          : Edit5;
        writeText(target, fromStd(text));
    }
    if (result.error)
        throw UserError(*result.error);

    ColumnCount = result.columnCount;
    RowCount = result.rowCount;
    CrossWidth = result.crossWidth;
    CrossHeight = result.crossHeight;
    showWhole(Label10, fromStd(result.crossCountLabel));
    showWhole(Label11, fromStd(result.widthLabel));
    showWhole(Label12, fromStd(result.heightLabel));
}

void TForm1::showWhole(QLabel* label, const QString& text) {
    // The summary box is narrow and the counts can run to many digits; the summary's own face
    // is the box's, and only a text too long for it is set smaller.
    label->setFont(FontFitting(GroupBox2->font(), text, label->contentsRect().width()));
    label->setText(text);
}

void TForm1::sizeFieldChange(QLineEdit* edit, QRadioButton* master) {
    if (edit->text().isEmpty() || !master->isChecked())
        return;
    RecalcSizes();
    RadioButton5Click();
}

void TForm1::Edit2Change() {
    sizeFieldChange(Edit2, RadioButton1);
}

void TForm1::Edit1Change() {
    sizeFieldChange(Edit1, RadioButton2);
}

void TForm1::Edit6Change() {
    sizeFieldChange(Edit6, RadioButton3);
}

void TForm1::Edit5Change() {
    sizeFieldChange(Edit5, RadioButton4);
}

void TForm1::crossSizeChange(QLineEdit* edit, SpinButtons* spin) {
    // A number still being typed ("2," on the way to "2,5") stays as it is, and so do the sizes,
    // until the next character or leaving the field completes it.
    if (IsUnfinishedCrossSize(edit->text().toStdString()))
        return;
    // Rewriting the field raises this handler again; the nested run sees its own text back,
    // writes nothing new, and the nesting ends.
    if (edit->text().isEmpty())
        writeText(edit, fromStd(CrossSizeText(kMinCrossHundredths)));
    const CrossSizeNormalisation normal = NormaliseCrossSize(edit->text().toStdString());
    if (!normal.ok())
        throw UserError(*normal.error);
    writeText(edit, fromStd(normal.text));
    spin->setPosition(normal.hundredths);
    showFabricOfSizes(ComboBox1->currentIndex());
    RecalcSizes();
    RadioButton5Click();
}

void TForm1::completeCrossSize(QLineEdit* edit) {
    // "2," becomes 2 and a lone comma or a zero the smallest size; the change handler then takes
    // the completed number as it takes any other.
    const std::string text = edit->text().toStdString();
    if (IsUnfinishedCrossSize(text))
        writeText(edit, fromStd(NormaliseCrossSize(text).text));
}

void TForm1::Edit3Change() {
    crossSizeChange(Edit3, UpDown1);
}

void TForm1::Edit7Change() {
    crossSizeChange(Edit7, UpDown2);
}

void TForm1::spinClick(SpinButtons* spin, QLineEdit* edit) {
    writeText(edit, fromStd(CrossSizeText(spin->position())));
    RecalcSizes();
}

void TForm1::UpDown1Click() {
    spinClick(UpDown1, Edit3);
}

void TForm1::UpDown2Click() {
    spinClick(UpDown2, Edit7);
}

void TForm1::ComboBox1Change() {
    const int chosen = ComboBox1->currentIndex();
    const int count = ComboBox1->itemData(chosen).toInt();
    if (count <= 0)
        return; // "Своя": the sizes stay as they are, to be typed
    // Written as typing would write them: each field that changes normalises, recalculates and
    // resets the view once.
    const QString size = fromStd(CrossSizeText(FabricCrossHundredths(count)));
    writeText(Edit3, size);
    writeText(Edit7, size);
    // Aida 14 and evenweave 28 over two give the same size; the fabric chosen stays shown.
    showFabricOfSizes(chosen);
}

void TForm1::showFabricOfSizes(int preferred) {
    auto fits = [this](int index) {
        const int count = ComboBox1->itemData(index).toInt();
        if (count <= 0)
            return false;
        const std::int32_t hundredths = FabricCrossHundredths(count);
        return UpDown1->position() == hundredths && UpDown2->position() == hundredths;
    };
    int shown = ComboBox1->findData(0); // "Своя"
    if (preferred >= 0 && fits(preferred)) {
        shown = preferred;
    } else {
        for (int i = 0; i < ComboBox1->count(); ++i) {
            if (fits(i)) {
                shown = i;
                break;
            }
        }
    }
    ComboBox1->setCurrentIndex(shown);
}

bool TForm1::Edit1KeyPress(QLineEdit*, QChar key) const {
    return AcceptsIntegerKey(key);
}

bool TForm1::Edit3KeyPress(QLineEdit* edit, QChar key) const {
    // The typed character replaces the selection, so a selected comma is no comma already there:
    // a comma typed over the whole of "1,7" starts ",7".
    QString kept = edit->text();
    if (edit->hasSelectedText())
        kept.remove(edit->selectionStart(), edit->selectedText().size());
    return AcceptsCommaDecimalKey(key, kept);
}

} // namespace pelvano
