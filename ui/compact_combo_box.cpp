#include "ui/compact_combo_box.h"

#include "ui/interface_font.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace pelvano {

void CompactComboBox::showPopup() {
    // The list may be wider than the box, so that its texts are read whole.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
    QComboBox::showPopup();
}

void CompactComboBox::paintEvent(QPaintEvent*) {
    // As QComboBox paints itself, with the label's text fitted to the field.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    // The style draws the label one pixel in from each side of the field.
    const int width =
        style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
            .width() -
        2;
    QString text = option.currentText;
    if (fontMetrics().horizontalAdvance(text) > width) {
        const qsizetype remark = text.indexOf(QLatin1Char('('));
        if (remark > 0)
            text = text.left(remark).trimmed();
        const QFont fitting = FontFitting(font(), text, width);
        painter.setFont(fitting);
        text = QFontMetrics(fitting).elidedText(text, Qt::ElideRight, width);
    }
    option.currentText = text;
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace pelvano
