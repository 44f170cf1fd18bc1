#pragma once

#include <QComboBox>

namespace pelvano {

// A drop-down for the narrow left panel. A text too long for the closed box is shown there without
// its remark in parentheses, in a smaller size if it needs one, as the summary's long texts are;
// the list shows every text whole.
class CompactComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pelvano
