#pragma once

#include <QWidget>

class QLabel;

namespace pelvano {

// The preview pane of the open-picture dialog: the selected file drawn small, with its pixel
// size underneath. Reads only as much of the file as a thumbnail needs.
class PicturePreview : public QWidget {
    Q_OBJECT
public:
    explicit PicturePreview(QWidget* parent = nullptr);

public slots:
    void showFile(const QString& path);

private:
    QLabel* picture_;
    QLabel* caption_;
};

} // namespace pelvano
