#pragma once
// A picture scaled proportionally to fit its box, clickable.

#include <QPixmap>
#include <QWidget>

namespace quilmo {

class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    void SetPicture(const QPixmap& pixmap);
    void ClearPicture();
    const QPixmap& Picture() const { return picture_; }
    bool HasPicture() const { return !picture_.isNull(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace quilmo
