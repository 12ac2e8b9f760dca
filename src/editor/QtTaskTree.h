#pragma once
// The editor's flat task tree: one node per task, moved by dragging.

#include <QTreeWidget>
#include <functional>
#include <optional>

#include "model/TestModel.h"

namespace quilmo {

// A node of the task tree; it owns its task, which goes when the node goes.
class TTaskNode : public QTreeWidgetItem {
public:
    explicit TTaskNode(TTask task) : Task(std::move(task)) {}
    TTask Task;
};

// The flat task tree. The window decides what happens before the current node
// changes, whether a right-button press selects, and what a drop does.
class TTaskTree : public QTreeWidget {
public:
    explicit TTaskTree(QWidget* parent = nullptr);

    std::function<void()> BeforeCurrentChange;        // the old node is still current
    std::function<bool()> RightPressSelects;
    std::function<void()> DragStarted;
    std::function<void(std::optional<size_t> target)> Dropped;  // target: the node under the pointer

    // The drag handlers, callable from tests as the drag-and-drop machinery calls them.
    void DragOverAt(const QPoint& pos);
    void DropAt(const QPoint& pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace quilmo
