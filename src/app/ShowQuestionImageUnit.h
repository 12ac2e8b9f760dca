#pragma once
// The question's picture at its natural size, stretched with the window.

#include <QDialog>
#include <QPixmap>

namespace quilmo {

class TShowQuestionImageForm : public QDialog {
    Q_OBJECT
public:
    explicit TShowQuestionImageForm(QWidget* parent = nullptr);

    // A copy of the picture; the window's client area takes its size when shown.
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return Image; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap Image;
};

}  // namespace quilmo
