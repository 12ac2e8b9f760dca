#pragma once
// The program's file and folder dialogs: Qt's own dialog (so the texts are the
// translated ones on every desktop), filters shown as the program writes them,
// and the kernel's pseudo-file systems kept out of the views and the completer.

#include <QAbstractFileIconProvider>
#include <QSortFilterProxyModel>

class QFileDialog;

namespace quilmo {

// /proc and /sys and everything below them. Their files are not files: reading
// some (/proc/kmsg) blocks for ever, and the dialog's model reads files to
// learn their type.
bool IsPseudoFileSystemPath(const QString& path);

// Hides /proc and /sys from the dialog's views and its file-name completer.
class PseudoFileSystemFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
};

// Icons and type names from the name alone under /proc and /sys, for a folder
// typed in by hand: the default provider reads a file's first bytes there.
class PseudoFileSafeIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// Gives a dialog the settings above; call before it is shown.
void PrepareQtFileDialog(QFileDialog& dialog);

}  // namespace quilmo
