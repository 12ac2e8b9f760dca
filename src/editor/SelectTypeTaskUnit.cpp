#include "editor/SelectTypeTaskUnit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/TaskOperations.h"

namespace quilmo {

TSelectTypeTaskForm::TSelectTypeTaskForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectTypeTaskForm"));
    setWindowTitle(QStringLiteral("Выбор типа задания"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* group = new QGroupBox(QStringLiteral("Тип задания:"), this);
    group->setObjectName(QStringLiteral("RadioGroupType"));
    auto* groupLayout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        Items[i] = new QRadioButton(QString::fromUtf8(kTaskTypeNames[i]), group);
        Items[i]->setObjectName(QStringLiteral("RadioType%1").arg(i));
        buttons->addButton(Items[i], i);
        groupLayout->addWidget(Items[i]);
    }
    Items[0]->setChecked(true);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonOK->setFixedWidth(90);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(group);
    layout->addWidget(ButtonOK, 0, Qt::AlignHCenter);
    setFixedSize(230, 170);
}

int TSelectTypeTaskForm::ItemIndex() const
{
    for (int i = 0; i < 3; ++i)
        if (Items[i]->isChecked())
            return i;
    return 0;
}

void TSelectTypeTaskForm::SetItemIndex(int index)
{
    if (index >= 0 && index < 3)
        Items[index]->setChecked(true);
}

}  // namespace quilmo
