#include "app/QtTaskView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/QtConvert.h"
#include "app/QtFormParts.h"
#include "app/QtPictureBox.h"
#include "app/QtPictureFile.h"
#include "model/FileIO.h"

namespace quilmo {

namespace {

// A grey caption strip above the question and the variants.
QLabel* MakeCaptionStrip(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedHeight(20);
    label->setIndent(4);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(110, 110, 110));
    label->setPalette(pal);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// In the read-only view an area sits below its caption strip.
QWidget* WithCaption(QLabel*& caption, const QString& name, QWidget* parent,
                     const std::function<QWidget*(QWidget*)>& build)
{
    auto* pane = new QWidget(parent);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    caption = MakeCaptionStrip(name, pane);
    layout->addWidget(caption);
    layout->addWidget(build(pane), 1);
    return pane;
}

QPlainTextEdit* MakeText(const QString& name, bool readOnly, QWidget* parent)
{
    auto* text = new QPlainTextEdit(parent);
    text->setObjectName(name);
    text->setReadOnly(readOnly);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return text;
}

}  // namespace

TTaskView::TTaskView(TaskViewMode mode, QWidget* parent) : QSplitter(Qt::Vertical, parent), ViewMode(mode)
{
    const bool editable = mode == TaskViewMode::Editable;
    setObjectName(editable ? QStringLiteral("TaskSplitter") : QStringLiteral("Splitter"));
    setChildrenCollapsible(false);
    RadioGroup = new QButtonGroup(this);
    if (editable) {
        addWidget(BuildQuestionArea(this));
        addWidget(BuildVariantsArea(this));
    } else {
        addWidget(WithCaption(QuestionLabel, QStringLiteral("QuestionLabel"), this,
                              [this](QWidget* pane) { return BuildQuestionArea(pane); }));
        addWidget(WithCaption(VariantLabel, QStringLiteral("VariantLabel"), this,
                              [this](QWidget* pane) { return BuildVariantsArea(pane); }));
    }
    setStretchFactor(0, editable ? 2 : 1);
    setStretchFactor(1, editable ? 3 : 1);

    if (editable) {
        connect(QuestionText, &QPlainTextEdit::textChanged, this, &TTaskView::Edited);
        for (int r = 0; r < 5; ++r) {
            connect(VariantText[r], &QPlainTextEdit::textChanged, this, &TTaskView::Edited);
            connect(RadioButtonVariant[r], &QRadioButton::toggled, this, &TTaskView::Edited);
            connect(CheckBoxVariant[r], &QCheckBox::toggled, this, &TTaskView::Edited);
            connect(ComboBoxVariant[r], &QComboBox::currentIndexChanged, this, &TTaskView::Edited);
        }
    }
}

QWidget* TTaskView::BuildQuestionArea(QWidget* parent)
{
    const bool editable = ViewMode == TaskViewMode::Editable;
    auto* area = new QWidget(parent);
    area->setMinimumHeight(160);
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    QuestionText = MakeText(QStringLiteral("QuestionText"), !editable, area);
    if (editable)
        QuestionText->setToolTip(QStringLiteral("Текст вопроса к заданию..."));
    row->addWidget(QuestionText, 1);
    QuestionImage = new TPictureBox(area);
    QuestionImage->setObjectName(QStringLiteral("QuestionImage"));
    QuestionImage->setToolTip(QStringLiteral("Для увеличения изображения щелкните по нему..."));
    // The runner's picture takes the area's height; the editor's is a square.
    if (editable) {
        QuestionImage->setFixedSize(160, 160);
        row->addWidget(QuestionImage, 0, Qt::AlignTop);
    } else {
        QuestionImage->setFixedWidth(160);
        row->addWidget(QuestionImage);
    }
    return area;
}

QWidget* TTaskView::BuildVariantsArea(QWidget* parent)
{
    const bool editable = ViewMode == TaskViewMode::Editable;
    auto* area = new QWidget(parent);
    area->setMinimumHeight(200);
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(editable ? 2 : 0);
    for (int c = 0; c < 3; ++c)
        MarkColumns[c] = MakeColumn(QStringLiteral("GridPanel_VT%1").arg(c + 1), 50, area);
    QWidget* texts = MakeColumn(QStringLiteral("GridPanel_VariantText"), 0, area);
    for (int r = 0; r < 5; ++r) {
        const QString digit = QString::number(r + 1);
        const QString n = QString::number(r);
        RadioButtonVariant[r] = new QRadioButton(digit, MarkColumns[0]);
        RadioButtonVariant[r]->setObjectName(QStringLiteral("RadioButtonVariant") + n);
        RadioGroup->addButton(RadioButtonVariant[r], r);
        AddToColumn(MarkColumns[0], r, RadioButtonVariant[r], Qt::AlignHCenter);
        CheckBoxVariant[r] = new QCheckBox(digit, MarkColumns[1]);
        CheckBoxVariant[r]->setObjectName(QStringLiteral("CheckBoxVariant") + n);
        AddToColumn(MarkColumns[1], r, CheckBoxVariant[r], Qt::AlignHCenter);
        ComboBoxVariant[r] = new QComboBox(MarkColumns[2]);
        ComboBoxVariant[r]->setObjectName(QStringLiteral("ComboBoxVariant") + n);
        // The editor chooses among the empty place and 1 to 5; the runner fills
        // the list with as many places as the task has variants.
        if (editable)
            ComboBoxVariant[r]->addItems({QString(), "1", "2", "3", "4", "5"});
        ComboBoxVariant[r]->setFixedWidth(editable ? 44 : 40);
        AddToColumn(MarkColumns[2], r, ComboBoxVariant[r], Qt::AlignHCenter);
        VariantText[r] = MakeText(QStringLiteral("VariantText") + n, !editable, texts);
        if (editable)
            VariantText[r]->setToolTip(QStringLiteral("Вариант ответа №%1...").arg(r + 1));
        VariantText[r]->setMinimumHeight(24);
        AddToColumn(texts, r, VariantText[r]);
    }
    for (QWidget* column : MarkColumns)
        row->addWidget(column);
    row->addWidget(texts, 1);
    return area;
}

void TTaskView::ShowMarkColumn(int type, bool enabled)
{
    for (int c = 0; c < 3; ++c) {
        MarkColumns[c]->setVisible(c == type - 1);
        MarkColumns[c]->setEnabled(enabled && c == type - 1);
    }
}

void TTaskView::ClearMarks()
{
    const bool editable = ViewMode == TaskViewMode::Editable;
    RadioGroup->setExclusive(false);  // an exclusive group cannot turn its last button off
    for (int r = 0; r < 5; ++r) {
        RadioButtonVariant[r]->setChecked(false);
        RadioButtonVariant[r]->setEnabled(false);
        CheckBoxVariant[r]->setChecked(false);
        CheckBoxVariant[r]->setEnabled(false);
        if (editable) {
            ComboBoxVariant[r]->setCurrentIndex(0);
        } else {
            ComboBoxVariant[r]->clear();
            ComboBoxVariant[r]->setCurrentIndex(-1);
        }
        ComboBoxVariant[r]->setEnabled(false);
    }
    RadioGroup->setExclusive(true);
}

void TTaskView::Clear(int type)
{
    QuestionText->clear();
    for (QPlainTextEdit* text : VariantText)
        text->clear();
    QuestionText->setToolTip(QStringLiteral("Подсказка к заданию..."));
    ShowMarkColumn(type, false);
    ClearMarks();
}

void TTaskView::ShowForAnswer(const TTask& task, const TIntDynArray& order)
{
    const int n = std::clamp<int>(static_cast<int>(order.size()), 0, 5);
    const int type = task.TaskType;
    QuestionText->setPlainText(FieldToWidget(task.Question));
    QuestionText->setToolTip(Q(task.Prompt));  // an empty prompt shows no tooltip
    for (int r = 0; r < 5; ++r) {
        if (r < n)
            VariantText[r]->setPlainText(
                FieldToWidget(task.Variants[static_cast<size_t>(order[static_cast<size_t>(r)])]));
        VariantText[r]->setEnabled(r < n);
    }
    QStringList numbers;
    for (int i = 1; i <= n; ++i)
        numbers << QString::number(i);
    for (int r = 0; r < n; ++r) {
        switch (type) {
        case SingleChoice:
            RadioButtonVariant[r]->setEnabled(true);
            break;
        case MultipleChoice:
            CheckBoxVariant[r]->setEnabled(true);
            break;
        case Ordering:
            ComboBoxVariant[r]->clear();
            ComboBoxVariant[r]->addItems(numbers);
            ComboBoxVariant[r]->setCurrentIndex(-1);
            ComboBoxVariant[r]->setEnabled(true);
            break;
        default:
            break;
        }
    }
    if (type >= SingleChoice && type <= Ordering)
        MarkColumns[type - 1]->setEnabled(true);
}

void TTaskView::ShowForEditing(const TTask& task)
{
    const int type = std::clamp<int>(task.TaskType, 1, 3);
    ShowMarkColumn(type, true);
    ClearMarks();
    QuestionText->setPlainText(FieldToWidget(task.Question));
    for (int r = 0; r < 5; ++r)
        VariantText[r]->setPlainText(FieldToWidget(task.Variants[r]));
    for (int r = 0; r < 5; ++r) {
        const int32_t answer = task.Answers[r];
        if (type == SingleChoice && answer > 0)
            RadioButtonVariant[r]->setChecked(true);
        else if (type == MultipleChoice && answer > 0)
            CheckBoxVariant[r]->setChecked(true);
        else if (type == Ordering && answer >= 1 && answer <= 5)
            ComboBoxVariant[r]->setCurrentIndex(answer);
        RadioButtonVariant[r]->setEnabled(true);
        CheckBoxVariant[r]->setEnabled(true);
        ComboBoxVariant[r]->setEnabled(true);
    }
}

int32_t TTaskView::Mark(int type, int row) const
{
    switch (type) {
    case MultipleChoice:
        return CheckBoxVariant[row]->isChecked() ? 1 : 0;
    case Ordering:
        // The list holds the places as numbers; no choice, or the empty item, is none.
        return ComboBoxVariant[row]->currentIndex() < 0 ? 0 : ComboBoxVariant[row]->currentText().toInt();
    case SingleChoice:
        return RadioButtonVariant[row]->isChecked() ? 1 : 0;
    default:
        return 0;
    }
}

QString TTaskView::ShowPicture(const std::string& path)
{
    auto hide = [this] {
        QuestionImage->ClearPicture();
        QuestionImage->setVisible(false);
        QuestionImage->setEnabled(false);
    };
    if (path.empty()) {
        hide();
        return {};
    }
    if (!FileExists(path)) {
        hide();
        return QStringLiteral("Файл с изображением отсутствует!");
    }
    const QImage image = ReadQuestionPicture(path);
    if (image.isNull()) {
        hide();
        return QStringLiteral("Ошибка загрузки изображения!");
    }
    QuestionImage->SetPicture(QPixmap::fromImage(image));
    QuestionImage->setVisible(true);
    QuestionImage->setEnabled(true);
    return {};
}

void TTaskView::SetTextFont(const QFont& font)
{
    QuestionText->setFont(font);
    for (QPlainTextEdit* text : VariantText)
        text->setFont(font);
}

void TTaskView::SetTextColor(const QColor& colour)
{
    auto paint = [&colour](QPlainTextEdit* text) {
        QPalette pal = text->palette();
        pal.setColor(QPalette::Text, colour);
        text->setPalette(pal);
    };
    paint(QuestionText);
    for (QPlainTextEdit* text : VariantText)
        paint(text);
}

void TTaskView::SetRowBackground(int row, const QColor& colour)
{
    // Only the rows shown are coloured; a disabled row keeps its own grey.
    QPalette pal = VariantText[row]->palette();
    pal.setColor(QPalette::Active, QPalette::Base, colour);
    pal.setColor(QPalette::Inactive, QPalette::Base, colour);
    VariantText[row]->setPalette(pal);
}

}  // namespace quilmo
