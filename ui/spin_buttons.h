#pragma once

#include <QWidget>

class QToolButton;

namespace pelvano {

// A pair of up/down arrow buttons holding a position, not attached to any edit: the window
// decides what a click means. Clicking never wraps around; a click at a limit still reports.
class SpinButtons : public QWidget {
    Q_OBJECT
public:
    enum class Button { Up, Down };

    explicit SpinButtons(QWidget* parent = nullptr);

    int position() const { return position_; }
    // Program writes clamp to the range and raise no click.
    void setPosition(int position);
    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void clicked(pelvano::SpinButtons::Button button);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void step(Button button);

    QToolButton* up_;
    QToolButton* down_;
    int position_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
};

} // namespace pelvano
