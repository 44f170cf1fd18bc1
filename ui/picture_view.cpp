#include "ui/picture_view.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace pelvano {

namespace {

// Averages blocks of kx by ky pixels into one. Remainder pixels at the right and bottom edge
// (less than a block) are left out; at the sizes this is used for they are under half a pixel
// of the shown picture.
QImage averageBlocks(const QImage& picture, int kx, int ky) {
    const QImage in = picture.format() == QImage::Format_BGR888
                          ? picture
                          : picture.convertToFormat(QImage::Format_BGR888);
    const int width = in.width() / kx;
    const int height = in.height() / ky;
    QImage out(width, height, QImage::Format_BGR888);
    if (out.isNull())
        return out;
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(width) * 3);
    const std::uint32_t count = static_cast<std::uint32_t>(kx) * static_cast<std::uint32_t>(ky);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int j = 0; j < ky; ++j) {
            const uchar* pixel = in.constScanLine(y * ky + j);
            for (int x = 0; x < width; ++x) {
                std::uint32_t* sum = &sums[static_cast<std::size_t>(x) * 3];
                for (int i = 0; i < kx; ++i, pixel += 3) {
                    sum[0] += pixel[0];
                    sum[1] += pixel[1];
                    sum[2] += pixel[2];
                }
            }
        }
        uchar* row = out.scanLine(y);
        for (std::size_t k = 0; k < sums.size(); ++k)
            row[k] = static_cast<uchar>((sums[k] + count / 2) / count);
    }
    return out;
}

} // namespace

QImage ShrinkPicture(const QImage& picture, QSize size) {
    // Qt's smooth scaling of a 12-megapixel picture takes a noticeable moment. Averaging whole
    // blocks first, down to about twice the target size, is quick and loses nothing of the
    // averaging; the smooth scaling then only does the last step.
    const int kx = picture.width() / (2 * std::max(1, size.width()));
    const int ky = picture.height() / (2 * std::max(1, size.height()));
    QImage start = picture;
    if (kx >= 2 && ky >= 2)
        start = averageBlocks(picture, kx, ky);
    return start.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// ImageControl --------------------------------------------------------------------------------

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setPicture(const QImage& picture) {
    // Showing the same picture again keeps the scaled copy: a re-layout does it often.
    if (picture.cacheKey() == picture_.cacheKey() && picture.isNull() == picture_.isNull())
        return;
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
        scaled_ = QPixmap::fromImage(ShrinkPicture(picture_, size()));
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
