#include "ui/spin_buttons.h"

#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

namespace pelvano {

SpinButtons::SpinButtons(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    for (QToolButton* button : {up_, down_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setAutoRaise(false);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName(QStringLiteral("up"));
    down_->setObjectName(QStringLiteral("down"));
    connect(up_, &QToolButton::clicked, this, [this] { step(Button::Up); });
    connect(down_, &QToolButton::clicked, this, [this] { step(Button::Down); });
}

void SpinButtons::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    position_ = std::clamp(position_, minimum_, maximum_);
}

void SpinButtons::setPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
}

void SpinButtons::step(Button button) {
    const int delta = button == Button::Up ? 1 : -1;
    position_ = std::clamp(position_ + delta, minimum_, maximum_);
    emit clicked(button);
}

void SpinButtons::resizeEvent(QResizeEvent*) {
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

void SpinButtons::wheelEvent(QWheelEvent* event) {
    // The window's own wheel handling decides; the arrows do not spin on the wheel.
    event->ignore();
}

} // namespace pelvano
