#include "ui/form1.h"

#include <QCoreApplication>
#include <QRadioButton>
#include <QScreen>

namespace pelvano {

namespace {

constexpr int kKeyTab = 3;
constexpr int kWheelStep = 15;
// Used when a display reports no physical size: the customary 96 dots per inch.
constexpr Real kFallbackPixelsPerMm = 96.0L / 25.4L;

// Offsets of a centred image; an offset of 1 or less is not worth a gap.
int centredOffset(int client, int image) {
    const int offset = (client - image) / 2;
    return offset > 1 ? offset : 0;
}

} // namespace

void TForm1::processPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::TabControl1Change() {
    switch (TabControl1->tabIndex()) {
    case 0:
        Image1->setPicture(Image2);
        break;
    case 1:
        Image1->setPicture(Image3);
        break;
    case 2:
        Image1->setPicture(Image4);
        break;
    case kKeyTab:
        Image1->setImageSize(KeyImage.width(), KeyImage.height());
        Image1->setPicture(KeyImage);
        break;
    default:
        return;
    }
    FormResize();
}

void TForm1::RadioButton5Click() {
    ScrollBox1->setHorzPosition(0);
    ScrollBox1->setVertPosition(0);
    ScrollBox1->setHorzRange(0);
    ScrollBox1->setVertRange(0);
    FormResize();
    processPendingEvents();
}

void TForm1::FormResize() {
    arrangeControls();
    const int tab = TabControl1->tabIndex();
    if (RadioButton6->isChecked() || tab == kKeyTab) {
        if (Tag > 0 && tab < kKeyTab)
            ApplyRealSize();
        ScrollBox1->setHorzPosition(0);
        ScrollBox1->setVertPosition(0);
        processPendingEvents();
        ScrollBox1->ensureLayout();
        Image1->setTop(centredOffset(ScrollBox1->clientHeight(), Image1->imageHeight()));
        Image1->setLeft(centredOffset(ScrollBox1->clientWidth(), Image1->imageWidth()));
        ScrollBox1->setHorzRange(Image1->imageWidth());
        ScrollBox1->setVertRange(Image1->imageHeight());
        // Scroll bars that the ranges bring shrink the client area: centre again.
        Image1->setTop(centredOffset(ScrollBox1->clientHeight(), Image1->imageHeight()));
        Image1->setLeft(centredOffset(ScrollBox1->clientWidth(), Image1->imageWidth()));
    } else {
        ScrollBox1->setHorzPosition(0);
        ScrollBox1->setVertPosition(0);
        ScrollBox1->setHorzRange(0);
        ScrollBox1->setVertRange(0);
        processPendingEvents();
        ScrollBox1->ensureLayout();
        const int clientWidth = ScrollBox1->clientWidth();
        const int clientHeight = ScrollBox1->clientHeight();
        const int outerHeight = ScrollBox1->height();
        // The box's proportions are those of its outer size; the image fills its client area.
        const Real boxAspect = outerHeight > 0 ? static_cast<Real>(ScrollBox1->width()) /
                                                     static_cast<Real>(outerHeight)
                                               : PictureAspect;
        if (PictureAspect > boxAspect) {
            Image1->setImageSize(
                clientWidth, pelvano::RoundHalfUp(static_cast<Real>(clientWidth) / PictureAspect));
        } else {
            Image1->setImageSize(
                pelvano::RoundHalfUp(static_cast<Real>(clientHeight) * PictureAspect),
                clientHeight);
        }
        Image1->setTop((clientHeight - Image1->imageHeight()) / 2);
        Image1->setLeft((clientWidth - Image1->imageWidth()) / 2);
    }
    Image1->setVisible(true);
    processPendingEvents();
}

Real TForm1::screenPixelsPerMm() const {
    const QScreen* display = screen();
    if (display == nullptr)
        return kFallbackPixelsPerMm;
    const Real millimetres = display->physicalSize().width();
    if (!(millimetres > 0))
        return kFallbackPixelsPerMm;
    return static_cast<Real>(display->geometry().width()) / millimetres;
}

void TForm1::ApplyRealSize() {
    // Until a pattern exists the grid and pattern tabs have nothing to show at real size.
    if (Tag == 1 && TabControl1->tabIndex() != 0) {
        Image1->setImageSize(0, 0);
        return;
    }
    const int width =
        pelvano::RoundHalfUp(static_cast<Real>(ColumnCount) * CrossWidth * screenPixelsPerMm());
    Image1->setImageSize(width, pelvano::RoundHalfUp(static_cast<Real>(width) / PictureAspect));
}

void TForm1::FormMouseWheel(QPoint position, int delta) {
    const QRect box(ScrollBox1->mapTo(this, QPoint(0, 0)), ScrollBox1->size());
    const bool inside = box.left() < position.x() && position.x() < box.left() + box.width() &&
                        box.top() < position.y() && position.y() < box.top() + box.height();
    if (!inside || delta == 0)
        return;
    ScrollBox1->setVertPosition(ScrollBox1->vertPosition() -
                                (delta > 0 ? kWheelStep : -kWheelStep));
}

} // namespace pelvano
