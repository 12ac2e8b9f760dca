#include "editor/MarkLevelUnit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/QtConvert.h"
#include "editor/MarkLevels.h"

namespace quilmo {

namespace {

constexpr int kRowHeight = 20;
const QColor kEditableCell(255, 251, 240);

// Header and mark-number cells in the grid's fixed colour, the header in bold;
// the answer cells in a warm white; each text centred at the top of its cell.
class MarkCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool fixed = index.row() == 0 || index.column() == 0;
        const QRect cell = option.rect;
        painter->save();
        QFont font = option.font;
        font.setBold(index.row() == 0);
        painter->setFont(font);
        painter->fillRect(cell, fixed ? option.palette.color(QPalette::Button) : kEditableCell);
        const QString text = index.data(Qt::DisplayRole).toString();
        const QFontMetrics metrics(font);
        const int textWidth = metrics.horizontalAdvance(text);
        const int left = CentredTextLeft(cell.left(), cell.width(), textWidth);
        const int top = cell.top() + (fixed ? 2 : 0);
        painter->setPen(option.palette.color(fixed ? QPalette::ButtonText : QPalette::Text));
        painter->drawText(QRect(left, top, textWidth + 2, cell.bottom() - top + 1),
                          Qt::AlignLeft | Qt::AlignTop, text);
        if (!fixed && (option.state & QStyle::State_HasFocus)) {
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DotLine));
            painter->drawRect(cell.adjusted(1, 1, -2, -2));
        }
        painter->restore();
    }
};

QTableWidgetItem* FixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem* AnswerItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    return item;
}

}  // namespace

TMarkLevelForm::TMarkLevelForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MarkLevelForm"));
    setWindowTitle(QStringLiteral("Задания уровня оценки"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* countRow = new QHBoxLayout;
    auto* countLabel = new QLabel(QStringLiteral("Система оценки:"), this);
    EditCount = new QSpinBox(this);
    EditCount->setObjectName(QStringLiteral("EditCount"));
    EditCount->setRange(1, kMaxMarkCount);
    EditCount->setSingleStep(1);
    EditCount->setValue(1);
    if (auto* field = EditCount->findChild<QLineEdit*>())
        field->setReadOnly(true);  // only the arrows set it
    EditCount->setFixedWidth(60);
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setAutoDefault(false);
    ButtonOK->setFixedWidth(50);
    countRow->addWidget(countLabel);
    countRow->addWidget(EditCount);
    countRow->addWidget(ButtonOK);
    countRow->addStretch(1);
    connect(ButtonOK, &QPushButton::clicked, this, &TMarkLevelForm::ButtonOKClick);

    LabelTaskCount = new QLabel(this);
    LabelTaskCount->setObjectName(QStringLiteral("LabelTaskCount"));

    MarkGrid = new QTableWidget(this);
    MarkGrid->setObjectName(QStringLiteral("MarkGrid"));
    MarkGrid->setColumnCount(2);
    MarkGrid->horizontalHeader()->hide();
    MarkGrid->verticalHeader()->hide();
    MarkGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MarkGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    MarkGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MarkGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MarkGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MarkGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    MarkGrid->setItemDelegate(new MarkCellDelegate(MarkGrid));

    LabelHint = new QLabel(QStringLiteral("Оценка еще не задана! Нажмите кнопу \"Применить\""), this);
    LabelHint->setObjectName(QStringLiteral("LabelHint"));
    LabelHint->setWordWrap(true);
    QPalette pal = LabelHint->palette();
    pal.setColor(QPalette::WindowText, QColor(128, 0, 128));
    LabelHint->setPalette(pal);

    ButtonApply = new QPushButton(QStringLiteral("Применить"), this);
    ButtonApply->setObjectName(QStringLiteral("ButtonApply"));
    ButtonApply->setDefault(true);
    connect(ButtonApply, &QPushButton::clicked, this, &TMarkLevelForm::ButtonApplyClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(countRow);
    layout->addWidget(LabelTaskCount);
    layout->addWidget(MarkGrid, 1);
    layout->addWidget(LabelHint);
    layout->addWidget(ButtonApply);
    setFixedSize(260, 330);
}

void TMarkLevelForm::SetTaskCount(int taskCount)
{
    TaskCountValue = taskCount;
}

void TMarkLevelForm::SetMarks(const TIntDynArray& marks)
{
    MarkValues = marks;
}

void TMarkLevelForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMarkLevelForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FitColumns();
}

void TMarkLevelForm::FitColumns()
{
    const int half = MarkGrid->viewport()->width() / 2;
    MarkGrid->setColumnWidth(0, half);
    MarkGrid->setColumnWidth(1, half);
}

void TMarkLevelForm::FormShow()
{
    FitColumns();
    LabelTaskCount->setText(Q(TaskCountText(TaskCountValue)));
    const MarkRows rows = InitialMarkRows(TaskCountValue, MarkValues);
    EditCount->setValue(rows.Count);
    SetRows(rows.Answers);
    LabelHint->setVisible(rows.HintVisible);
}

std::vector<std::string> TMarkLevelForm::AnswerCells() const
{
    std::vector<std::string> answers;
    for (int r = 1; r < MarkGrid->rowCount(); ++r) {
        const QTableWidgetItem* item = MarkGrid->item(r, 1);
        answers.push_back(item ? S(item->text()) : std::string());
    }
    return answers;
}

void TMarkLevelForm::SetRows(const std::vector<std::string>& answers)
{
    const int n = static_cast<int>(answers.size());
    MarkGrid->setRowCount(n + 1);
    MarkGrid->setItem(0, 0, FixedItem(QStringLiteral("Оценка")));
    MarkGrid->setItem(0, 1, FixedItem(QStringLiteral("Кол-во ответов")));
    for (int r = 1; r <= n; ++r) {
        MarkGrid->setItem(r, 0, FixedItem(QString::number(n - r + 1)));
        MarkGrid->setItem(r, 1, AnswerItem(Q(answers[static_cast<size_t>(r - 1)])));
    }
}

void TMarkLevelForm::ButtonOKClick()
{
    std::vector<std::string> answers = AnswerCells();
    ResizeMarkRows(answers, MarkCountFromField(S(EditCount->text())));
    SetRows(answers);
}

void TMarkLevelForm::ButtonApplyClick()
{
    MarkValues = MarksFromRows(AnswerCells());
    LabelHint->hide();
    accept();
}

}  // namespace quilmo
