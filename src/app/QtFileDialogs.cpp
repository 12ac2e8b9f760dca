#include "app/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QMimeDatabase>

namespace quilmo {

bool IsPseudoFileSystemPath(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    for (const QLatin1String root : {QLatin1String("/proc"), QLatin1String("/sys")}) {
        if (clean == root || clean.startsWith(root + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool PseudoFileSystemFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files)
        return true;
    return !IsPseudoFileSystemPath(files->filePath(files->index(sourceRow, 0, sourceParent)));
}

QIcon PseudoFileSafeIconProvider::icon(IconType type) const
{
    return QAbstractFileIconProvider::icon(type);
}

QIcon PseudoFileSafeIconProvider::icon(const QFileInfo& info) const
{
    if (!IsPseudoFileSystemPath(info.absoluteFilePath()))
        return QAbstractFileIconProvider::icon(info);
    return QAbstractFileIconProvider::icon(info.isDir() ? Folder : File);
}

QString PseudoFileSafeIconProvider::type(const QFileInfo& info) const
{
    if (!IsPseudoFileSystemPath(info.absoluteFilePath()))
        return QAbstractFileIconProvider::type(info);
    return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
}

void PrepareQtFileDialog(QFileDialog& dialog)
{
    // A desktop's own dialog would bring neither the program's language nor
    // the guards below.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The filters' captions already name their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    // The dialog does not own its icon provider, and the model's thread may
    // still ask it while the dialog is destroyed: one for the program's life.
    static PseudoFileSafeIconProvider icons;
    dialog.setIconProvider(&icons);
    dialog.setProxyModel(new PseudoFileSystemFilter(&dialog));
}

}  // namespace quilmo
