#include "ui/picture_preview.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
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
    // A click in the list reports the file twice, as the current item and as the name it puts
    // into the name field; decode it once.
    if (!shown_.isEmpty() && path == shown_)
        return;
    picture_->clear();
    caption_->clear();
    shown_.clear();
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
    shown_ = path;
}

void FollowCurrentFile(QFileDialog& dialog, PicturePreview& preview) {
    QObject::connect(&dialog, &QFileDialog::currentChanged, &preview, &PicturePreview::showFile);
    // The list reports only its own current item. A name typed into the name field, or filled
    // in by its completion, moves no current item there, so the field is followed as well; its
    // name counts in the folder the dialog shows, as it does when the dialog is accepted.
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name == nullptr)
        return;
    const auto showTyped = [&dialog, &preview, name] {
        const QString typed = name->text();
        preview.showFile(typed.isEmpty() ? QString() : dialog.directory().filePath(typed));
    };
    QObject::connect(name, &QLineEdit::textChanged, &preview, showTyped);
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &preview, showTyped);
}

} // namespace pelvano
