#pragma once
// The editor's pictures: the task-type icons of the tree and the toolbar's, painted in code.

#include <QIcon>

namespace quilmo {

// The tree's icon of a task type (1 to 3) at 16 or 24 pixels: a normal picture
// and a selected one (QIcon::Selected), as the tree draws a selected node.
QIcon TaskTypeIcon(int taskType, int size);

enum class EditorTool {
    Add,
    Delete,
    MoveUp,
    MoveDown,
    MoveFirst,
    MoveLast,
    Duplicate,
    CopyToClipboard,
    PasteFromClipboard,
};
// A toolbar button's picture at 16, 20 and 24 pixels, with a greyed disabled form.
QIcon EditorToolIcon(EditorTool tool);

}  // namespace quilmo
