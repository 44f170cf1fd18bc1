#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QWidget>

namespace pelvano {

// Paints the `part` of `picture` stretched to `size` (a rectangle at 0, 0) that falls in that
// rectangle: enlarged with hard pixel edges, shrunk with averaging. Only the part's own pixels are
// scaled, so the cost follows the part, not the whole stretched picture.
void PaintScaledPart(QPainter& painter, const QImage& picture, QSize size, const QRect& part);

// The one visible picture: shows the image stretched to its own size, scaling only the part on
// screen. Its place is kept
// in the scroll box's content coordinates (left, top), as if the scroll positions were 0.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    // Images are shared, not deep-copied: a "copy" of a 12-megapixel picture costs nothing.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    int left() const { return left_; }
    int top() const { return top_; }
    void setLeft(int left);
    void setTop(int top);
    void setImageSize(int width, int height);
    int imageWidth() const { return width_; }
    int imageHeight() const { return height_; }

signals:
    void placeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // A control no larger than a screen keeps its scaled picture; a larger one (the real size
    // of a big pattern) scales only what is exposed, each time.
    static constexpr qint64 kCachedPixels = qint64{2560} * 1600;
    QImage picture_;
    QPixmap cached_;
    qint64 cachedKey_ = 0;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
};

// A scroll box whose scroll ranges only the program sets. A range is the extent of the content
// (the image size); the scroll bar shows while the range exceeds the client area, and positions
// stay within 0..range - client.
class ScrollBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ScrollBox(QWidget* parent = nullptr);

    ImageControl* image() const { return image_; }

    int clientWidth() const;
    int clientHeight() const;

    void setHorzRange(int range);
    void setVertRange(int range);
    int horzRange() const { return horzRange_; }
    int vertRange() const { return vertRange_; }

    void setHorzPosition(int position);
    void setVertPosition(int position);
    int horzPosition() const;
    int vertPosition() const;

    // Brings the viewport and scroll bars up to date now, also while the window is hidden.
    void ensureLayout();

protected:
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateBars();
    void placeImage();

    ImageControl* image_;
    int horzRange_ = 0;
    int vertRange_ = 0;
    bool updatingBars_ = false;
};

// Tabs that do not switch on the mouse wheel: the window scrolls the picture with it instead.
class WheelFreeTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// Tabs over one shared page: the scroll box, which shows the selected tab's picture.
class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    WheelFreeTabBar* tabBar() const { return bar_; }
    ScrollBox* scrollBox() const { return box_; }
    int tabIndex() const { return bar_->currentIndex(); }
    // Selecting from the program does not raise `changed`.
    void setTabIndex(int index);
    void arrange();

signals:
    void changed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    WheelFreeTabBar* bar_;
    ScrollBox* box_;
    bool selecting_ = false;
};

} // namespace pelvano
