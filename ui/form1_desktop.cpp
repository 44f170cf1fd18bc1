// What a desktop user expects beyond the form itself: pictures dropped from the file manager and
// keyboard shortcuts for the tool buttons.
#include "ui/form1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace pelvano {

namespace {

// The one local file a drag carries; empty for several files, a folder, or anything that is not
// a file on this machine (a web address, text).
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString path = urls.front().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir())
        return {};
    return path;
}

} // namespace

void TForm1::createShortcuts() {
    const std::pair<QToolButton*, QKeySequence> keys[] = {
        {SpeedButton1, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {SpeedButton2, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {SpeedButton3, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {SpeedButton4, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {SpeedButton5, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {SpeedButton6, QKeySequence(Qt::CTRL | Qt::Key_E)},
    };
    for (const auto& [button, key] : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        // A disabled button's command has nothing to work on yet; its key does nothing either.
        connect(shortcut, &QShortcut::activated, button, [button = button] {
            if (button->isEnabled())
                button->click();
        });
        button->setToolTip(QStringLiteral("%1 (%2)").arg(button->toolTip(),
                                                         key.toString(QKeySequence::NativeText)));
    }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!generating_ && SpeedButton1->isEnabled() && !DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (generating_ || !SpeedButton1->isEnabled() || file.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop has finished: the file manager waits for the drop to end, and an
    // error message shown inside it would keep that window stuck until the box is closed.
    QTimer::singleShot(0, this, [this, file] {
        if (!generating_)
            guarded([this, &file] { OpenPictureFile(file); });
    });
}

} // namespace pelvano
