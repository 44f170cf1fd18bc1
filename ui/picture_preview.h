#pragma once

#include <QWidget>

class QFileDialog;
class QLabel;

namespace pelvano {

// The preview pane of the open-picture dialog: the selected file drawn small, with its pixel
// size underneath. Reads only as much of the file as a thumbnail needs.
class PicturePreview : public QWidget {
    Q_OBJECT
public:
    explicit PicturePreview(QWidget* parent = nullptr);

    // The file whose picture is shown; empty while nothing is.
    const QString& shownFile() const { return shown_; }

public slots:
    void showFile(const QString& path);

private:
    QLabel* picture_;
    QLabel* caption_;
    QString shown_;
};

// Makes `preview` show the file that `dialog` is on however the user got there: a click or the
// arrow keys in the file list, a typed name or its completion. A typed name that is no file (or
// not yet one) shows nothing.
void FollowCurrentFile(QFileDialog& dialog, PicturePreview& preview);

} // namespace pelvano
