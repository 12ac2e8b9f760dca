#pragma once
// The question's picture in a window of its own, for the editor. A stand-in
// with the interface of the runner's picture window, which replaces it.

#include <QDialog>
#include <QPixmap>

namespace quilmo {

class TPictureBox;

class TEditorPictureForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditorPictureForm(QWidget* parent = nullptr);

    // The window opens at the picture's size, within the screen.
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const;

private:
    TPictureBox* Image = nullptr;
};

}  // namespace quilmo
