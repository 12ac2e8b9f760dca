// The program's file dialogs: filters as the program writes them, and the
// kernel's pseudo-file systems kept away from the views and the completer.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include "app/QtFileDialogs.h"
#include "app/QtPrompts.h"

namespace quilmo::testing {
namespace {

TEST(QtFileDialogsTest, PseudoFileSystemsAreRecognisedByPath)
{
    const struct {
        const char* Path;
        bool Pseudo;
    } cases[] = {
        {"/proc", true},  {"/proc/", true},     {"/proc/kmsg", true}, {"/sys/kernel", true},
        {"//proc/1", true}, {"/tmp/../proc/x", true}, {"/process", false}, {"/system", false},
        {"/home/proc", false}, {"/", false},     {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPseudoFileSystemPath(QString::fromLatin1(c.Path)), c.Pseudo) << c.Path;
}

// Runs action on the file dialog QtPrompts opens, then closes it.
void WithOpenDialog(const FileDialogSpec& spec, const std::function<void(QFileDialog&)>& action)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        action(*dialog);
        dialog->reject();
    });
    QtPrompts prompts;
    EXPECT_FALSE(prompts.OpenFile(nullptr, spec));
    EXPECT_TRUE(seen);
}

TEST(QtFileDialogsTest, FiltersReadAsTheProgramWritesThem)
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Открыть");
    spec.Filter = QStringLiteral("Текстовый файл (*.TXT)|*.TXT|Все тесты|*.TST;*.EST|Все файлы|*.*");
    spec.FilterIndex = 2;
    WithOpenDialog(spec, [](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        EXPECT_EQ(shown, (QStringList{"Текстовый файл (*.TXT)", "Все тесты", "Все файлы"}));
        EXPECT_EQ(types->currentIndex(), 1);
    });
}

TEST(QtFileDialogsTest, ProcAndSysAreNeitherListedNorCompleted)
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Открыть");
    spec.Filter = QStringLiteral("Все файлы|*.*");
    spec.InitialDir = QStringLiteral("/");
    WithOpenDialog(spec, [](QFileDialog& dialog) {
        auto* files = dialog.findChild<QFileSystemModel*>();
        ASSERT_NE(files, nullptr);
        QAbstractProxyModel* proxy = dialog.proxyModel();
        ASSERT_NE(proxy, nullptr);
        const QModelIndex root = files->index(QStringLiteral("/"));
        // Wait for the model's thread to list the root folder.
        auto listed = [&] {
            QStringList names;
            for (int r = 0; r < files->rowCount(root); ++r)
                names << files->index(r, 0, root).data().toString();
            return names;
        };
        for (int i = 0; i < 500 && !(listed().contains("proc") && listed().contains("tmp")); ++i) {
            QThread::msleep(10);
            QCoreApplication::processEvents();
        }
        ASSERT_TRUE(listed().contains("proc")) << listed().join(' ').toStdString();
        QStringList shown;
        const QModelIndex shownRoot = proxy->mapFromSource(root);
        for (int r = 0; r < proxy->rowCount(shownRoot); ++r)
            shown << proxy->index(r, 0, shownRoot).data().toString();
        EXPECT_FALSE(shown.contains("proc")) << shown.join(' ').toStdString();
        EXPECT_FALSE(shown.contains("sys"));
        EXPECT_TRUE(shown.contains("tmp")) << shown.join(' ').toStdString();
        // The name field completes from the same filtered model.
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        ASSERT_NE(name->completer(), nullptr);
        EXPECT_EQ(name->completer()->model(), proxy);
    });
}

TEST(QtFileDialogsTest, PseudoFilesAreTypedByNameWithoutReadingThem)
{
    // /proc/self/status holds text: the default provider reads it to say so.
    const QFileInfo status(QStringLiteral("/proc/self/status"));
    const QString plainText = QMimeDatabase().mimeTypeForName(QStringLiteral("text/plain")).comment();
    ASSERT_EQ(QAbstractFileIconProvider().type(status), plainText);
    PseudoFileSafeIconProvider provider;
    EXPECT_NE(provider.type(status), plainText);
    // Elsewhere the type is the default provider's.
    const QFileInfo elsewhere(QStringLiteral(QUILMO_FIXTURES));
    EXPECT_EQ(provider.type(elsewhere), QAbstractFileIconProvider().type(elsewhere));
}

}  // namespace
}  // namespace quilmo::testing
