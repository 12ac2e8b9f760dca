#include "editor/EditorPictureUnit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "app/QtPictureBox.h"

namespace quilmo {

TEditorPictureForm::TEditorPictureForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EditorPictureForm"));
    setWindowTitle(QStringLiteral("Просмотр изображения к вопросу"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    Image = new TPictureBox(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setCursor(Qt::ArrowCursor);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image);
}

void TEditorPictureForm::SetPicture(const QPixmap& picture)
{
    Image->SetPicture(picture);
    QSize size = picture.size();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size.expandedTo(QSize(200, 150)));
}

const QPixmap& TEditorPictureForm::Picture() const
{
    return Image->Picture();
}

}  // namespace quilmo
