#include "ui/picture_view.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pelvano {

namespace {

// Averages blocks of kx by ky pixels of `area` into one. Remainder pixels at the right and bottom
// edge (less than a block) are left out; they are under a pixel of the shown picture.
QImage averageBlocks(const QImage& picture, const QRect& area, int kx, int ky) {
    const QImage in = picture.format() == QImage::Format_BGR888
                          ? picture
                          : picture.convertToFormat(QImage::Format_BGR888);
    const int width = area.width() / kx;
    const int height = area.height() / ky;
    QImage out(width, height, QImage::Format_BGR888);
    if (out.isNull())
        return out;
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(width) * 3);
    const std::uint32_t count = static_cast<std::uint32_t>(kx) * static_cast<std::uint32_t>(ky);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int j = 0; j < ky; ++j) {
            const uchar* pixel = in.constScanLine(area.top() + y * ky + j) + 3 * area.left();
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

void PaintScaledPart(QPainter& painter, const QImage& picture, QSize size, const QRect& part) {
    const QRect target = part.intersected(QRect(QPoint(0, 0), size));
    if (picture.isNull() || target.isEmpty())
        return;
    // Widget pixel x covers picture columns x * sx .. (x + 1) * sx, the same for every part, so
    // parts painted at different times meet without a seam.
    const qreal sx = static_cast<qreal>(picture.width()) / size.width();
    const qreal sy = static_cast<qreal>(picture.height()) / size.height();
    const QRectF source(target.left() * sx, target.top() * sy, target.width() * sx,
                        target.height() * sy);
    if (sx <= 1 && sy <= 1) {
        // Enlarged (a pattern at real size can be far bigger than the screen): hard pixel edges
        // keep the cells crisp.
        painter.drawImage(QRectF(target), picture, source);
        return;
    }
    // Shrunk: whole blocks of the part's pixels are averaged first, on the picture's own block
    // grid, down to less than twice the shown size; smooth scaling does the last step, in which
    // every pixel still counts. Photos stay smooth and one-pixel grid lines turn grey instead of
    // flickering in and out.
    const int kx = std::max(1, static_cast<int>(sx));
    const int ky = std::max(1, static_cast<int>(sy));
    const int left = static_cast<int>(source.left()) / kx * kx;
    const int top = static_cast<int>(source.top()) / ky * ky;
    const int right = std::min(picture.width(), static_cast<int>(std::ceil(source.right())) + kx);
    const int bottom =
        std::min(picture.height(), static_cast<int>(std::ceil(source.bottom())) + ky);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (kx == 1 && ky == 1) {
        painter.drawImage(QRectF(target), picture, source);
    } else {
        const QImage blocks =
            averageBlocks(picture, QRect(left, top, right - left, bottom - top), kx, ky);
        const QRectF inBlocks((source.left() - left) / kx, (source.top() - top) / ky,
                              source.width() / kx, source.height() / ky);
        painter.drawImage(QRectF(target), blocks, inBlocks);
    }
    painter.restore();
}

// ImageControl --------------------------------------------------------------------------------

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setPicture(const QImage& picture) {
    if (picture.cacheKey() == picture_.cacheKey() && picture.isNull() == picture_.isNull())
        return;
    picture_ = picture;
    cached_ = QPixmap();
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
    if (static_cast<qint64>(width()) * height() <= kCachedPixels) {
        // Fitted into the window: scaled once, then every repaint is a copy.
        if (cached_.size() != size() || cachedKey_ != picture_.cacheKey()) {
            cached_ = QPixmap(size());
            QPainter scaling(&cached_);
            PaintScaledPart(scaling, picture_, size(), rect());
            cachedKey_ = picture_.cacheKey();
        }
        painter.drawPixmap(event->rect(), cached_, event->rect());
        return;
    }
    // At real size the control can be many times the screen, and a scaled copy of all of it
    // would cost seconds for every change of size: only what is exposed is scaled.
    PaintScaledPart(painter, picture_, size(), event->region().boundingRect());
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
    // A style sheet on the window replaces palettes below it; the box's own sheet keeps the
    // colour whatever the window's says.
    viewport()->setStyleSheet(QStringLiteral("background-color: rgb(166, 202, 240);"));
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
