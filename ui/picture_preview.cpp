#include "ui/picture_preview.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QVBoxLayout>

namespace pelvano {

namespace {
constexpr int kPreviewSide = 160;
}

PicturePreview::PicturePreview(QWidget* parent)
    : QWidget(parent), picture_(new QLabel(this)), caption_(new QLabel(this)) {
    picture_->setFixedSize(kPreviewSide, kPreviewSide);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    caption_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_);
    layout->addWidget(caption_);
    layout->addStretch();
}

void PicturePreview::showFile(const QString& path) {
    picture_->clear();
    caption_->clear();
    if (!QFileInfo(path).isFile())
        return;
    QImageReader reader(path);
    // Our own loader picks the decoder by extension; the preview only has to look right, so
    // let Qt sniff the content.
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid())
        return;
    // Decode straight at thumbnail size: a 24-megapixel JPEG previews in a blink this way.
    reader.setScaledSize(size.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return;
    picture_->setPixmap(QPixmap::fromImage(image));
    caption_->setText(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
}

} // namespace pelvano
