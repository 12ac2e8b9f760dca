#include "editor/QtTaskTree.h"

#include <QDrag>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>

#include "editor/TaskOperations.h"

namespace quilmo {

namespace {

// The selection model of the task tree: the window hears of a change of the
// current node before it happens, so it can offer to save the node it leaves.
class GuardedSelection : public QItemSelectionModel {
public:
    GuardedSelection(QAbstractItemModel* model, TTaskTree* tree)
        : QItemSelectionModel(model, tree), Tree(tree)
    {
    }
    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override
    {
        if (index != currentIndex() && Tree->BeforeCurrentChange)
            Tree->BeforeCurrentChange();
        QItemSelectionModel::setCurrentIndex(index, command);
    }

private:
    TTaskTree* Tree;
};

}  // namespace


TTaskTree::TTaskTree(QWidget* parent) : QTreeWidget(parent)
{
    setSelectionModel(new GuardedSelection(model(), this));
    setHeaderHidden(true);
    setColumnCount(1);
    // Long questions scroll sideways rather than being cut short.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    // Measured over the nodes in view, not a thousand of them on every change
    // of a big test; scrolling measures again what comes into view.
    header()->setResizeContentsPrecision(0);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { header()->resizeSections(QHeaderView::ResizeToContents); });
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every node is one line with an icon of the same size: the view need not
    // lay out the text of every node to learn the tree's height.
    setUniformRowHeights(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setAutoScroll(false);  // the window's own rule scrolls while dragging
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TTaskTree::mousePressEvent(QMouseEvent* event)
{
    // A right-button press selects only while the panel holds no unsaved edits;
    // otherwise the popup acts on the task shown.
    if (event->button() == Qt::RightButton && RightPressSelects && !RightPressSelects()) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void TTaskTree::startDrag(Qt::DropActions)
{
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return;
    if (DragStarted)
        DragStarted();
    // The drop moves the node itself; the drag only carries the gesture, so
    // nothing is removed when it ends.
    auto* drag = new QDrag(this);
    QMimeData* data = model()->mimeData(selectedIndexes());
    drag->setMimeData(data ? data : new QMimeData);
    const QRect rect = visualItemRect(item);
    QPixmap pixmap(rect.size());
    pixmap.fill(Qt::transparent);
    viewport()->render(&pixmap, QPoint(), QRegion(rect));
    drag->setPixmap(pixmap);
    drag->exec(Qt::MoveAction);
}

void TTaskTree::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->source() == this)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TTaskTree::DragOverAt(const QPoint& pos)
{
    const QTreeWidgetItem* under = itemAt(pos);
    std::optional<size_t> index;
    if (under)
        index = static_cast<size_t>(indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(under)));
    const auto scroll = DragScrollTarget(pos.y(), viewport()->height(), index,
                                         static_cast<size_t>(topLevelItemCount()));
    if (scroll)
        scrollToItem(topLevelItem(static_cast<int>(*scroll)));
}

void TTaskTree::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->source() != this) {
        event->ignore();
        return;
    }
    QTreeWidget::dragMoveEvent(event);  // the drop indicator
    DragOverAt(event->position().toPoint());
    event->acceptProposedAction();
}

void TTaskTree::DropAt(const QPoint& pos)
{
    std::optional<size_t> target;
    if (QTreeWidgetItem* under = itemAt(pos))
        target = static_cast<size_t>(indexOfTopLevelItem(under));
    if (Dropped)
        Dropped(target);
}

void TTaskTree::dropEvent(QDropEvent* event)
{
    if (event->source() != this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    DropAt(event->position().toPoint());
}

void TTaskTree::focusInEvent(QFocusEvent* event)
{
    // Focus alone makes no node current: the tree would otherwise pick its
    // first node when the focus comes back to it after Open or Import, and
    // the window would show a task nobody chose.
    if (!currentIndex().isValid()) {
        QAbstractScrollArea::focusInEvent(event);
        setAttribute(Qt::WA_InputMethodEnabled, false);
        viewport()->update();
        return;
    }
    QTreeWidget::focusInEvent(event);
}

}  // namespace quilmo
