#include "ui/picture_view.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace pelvano {

// ImageControl --------------------------------------------------------------------------------

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void ImageControl::setLeft(int left) {
    left_ = left;
    emit placeChanged();
}

void ImageControl::setTop(int top) {
    top_ = top;
    emit placeChanged();
}

void ImageControl::setImageSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    emit placeChanged();
}

void ImageControl::paintEvent(QPaintEvent* event) {
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    const bool shrinking = picture_.width() > width() || picture_.height() > height();
    if (!shrinking) {
        // Enlarged (a pattern at real size can be far bigger than the screen): let the painter
        // scale just the exposed part, with hard pixel edges so the cells stay crisp.
        painter.setClipRegion(event->region());
        painter.drawImage(rect(), picture_);
        return;
    }
    if (scaled_.size() != size()) {
        // Shrinking averages, so photos stay smooth; the result is smaller than the picture.
        scaled_ = QPixmap::fromImage(
            picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.drawPixmap(0, 0, scaled_);
}

void ImageControl::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

// ScrollBox -----------------------------------------------------------------------------------

ScrollBox::ScrollBox(QWidget* parent) : QAbstractScrollArea(parent), image_(new ImageControl) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(30);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setSingleStep(1);
    QPalette skyBlue = viewport()->palette();
    skyBlue.setColor(QPalette::Window, QColor(166, 202, 240));
    viewport()->setPalette(skyBlue);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    image_->setParent(viewport());
    connect(image_, &ImageControl::placeChanged, this, &ScrollBox::placeImage);
    updateBars();
}

void ScrollBox::ensureLayout() {
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &request);
    updateBars();
}

int ScrollBox::clientWidth() const {
    return viewport()->width();
}

int ScrollBox::clientHeight() const {
    return viewport()->height();
}

void ScrollBox::setHorzRange(int range) {
    horzRange_ = std::max(0, range);
    updateBars();
}

void ScrollBox::setVertRange(int range) {
    vertRange_ = std::max(0, range);
    updateBars();
}

void ScrollBox::setHorzPosition(int position) {
    horizontalScrollBar()->setValue(position); // the bar clamps to its range
}

void ScrollBox::setVertPosition(int position) {
    verticalScrollBar()->setValue(position);
}

int ScrollBox::horzPosition() const {
    return horizontalScrollBar()->value();
}

int ScrollBox::vertPosition() const {
    return verticalScrollBar()->value();
}

void ScrollBox::updateBars() {
    if (updatingBars_)
        return;
    updatingBars_ = true;
    // Showing one bar shrinks the client area and can bring the other; settle in two passes.
    for (int pass = 0; pass < 3; ++pass) {
        const int width = viewport()->width();
        const int height = viewport()->height();
        horizontalScrollBar()->setPageStep(std::max(1, width));
        verticalScrollBar()->setPageStep(std::max(1, height));
        horizontalScrollBar()->setRange(0, std::max(0, horzRange_ - width));
        verticalScrollBar()->setRange(0, std::max(0, vertRange_ - height));
        if (viewport()->width() == width && viewport()->height() == height)
            break;
    }
    updatingBars_ = false;
    placeImage();
}

void ScrollBox::placeImage() {
    image_->setGeometry(image_->left() - horzPosition(), image_->top() - vertPosition(),
                        image_->imageWidth(), image_->imageHeight());
}

bool ScrollBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        // Passed on to the window, which scrolls a fixed step per event.
        event->ignore();
        return false;
    }
    if (event->type() == QEvent::Resize) {
        const bool handled = QAbstractScrollArea::viewportEvent(event);
        updateBars();
        return handled;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ScrollBox::scrollContentsBy(int, int) {
    placeImage();
}

void ScrollBox::wheelEvent(QWheelEvent* event) {
    // The window handles the wheel (a fixed step per event); the box itself does not scroll.
    event->ignore();
}

// WheelFreeTabBar -----------------------------------------------------------------------------

void WheelFreeTabBar::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

// TabControl ----------------------------------------------------------------------------------

TabControl::TabControl(QWidget* parent)
    : QWidget(parent), bar_(new WheelFreeTabBar(this)), box_(new ScrollBox(this)) {
    bar_->setObjectName(QStringLiteral("tabs"));
    bar_->setDrawBase(true);
    bar_->setExpanding(false);
    connect(bar_, &QTabBar::currentChanged, this, [this] {
        if (!selecting_)
            emit changed();
    });
}

void TabControl::setTabIndex(int index) {
    selecting_ = true;
    bar_->setCurrentIndex(index);
    selecting_ = false;
}

void TabControl::arrange() {
    const int barHeight = bar_->sizeHint().height();
    bar_->setGeometry(0, 0, width(), barHeight);
    box_->setGeometry(0, barHeight, width(), std::max(0, height() - barHeight));
    box_->ensureLayout();
}

void TabControl::resizeEvent(QResizeEvent*) {
    arrange();
}

void TabControl::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

} // namespace pelvano
