#include "app/QtPrompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/QtConvert.h"
#include "app/QtFileDialogs.h"
#include "app/QtFontColorDialog.h"

namespace quilmo {

void Prompts::LoadError(QWidget* owner, const QString& text)
{
    Message(owner, QStringLiteral("Ошибка!"), text, PromptIcon::Error, PromptButtons::Ok);
}

void Prompts::Notice(QWidget* owner, const QString& text)
{
    Message(owner, QString::fromUtf8(kAppTitle), text, PromptIcon::None, PromptButtons::Ok);
}

bool Prompts::Ask(QWidget* owner, const QString& caption, const QString& text)
{
    return Message(owner, caption, text, PromptIcon::Question, PromptButtons::YesNo) ==
           PromptAnswer::Yes;
}

namespace {

QMessageBox::Icon ToQtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Message texts use CR LF for their line breaks.
QString DisplayText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t;
}

void PrepareFileDialog(QFileDialog& dialog, const FileDialogSpec& spec)
{
    PrepareQtFileDialog(dialog);
    dialog.setWindowTitle(spec.Title);
    const QStringList filters = ConvertFilter(spec.Filter);
    dialog.setNameFilters(filters);
    if (spec.FilterIndex >= 1 && spec.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[spec.FilterIndex - 1]);
    if (!spec.InitialDir.isEmpty())
        dialog.setDirectory(spec.InitialDir);
    if (!spec.FileName.isEmpty())
        dialog.selectFile(spec.FileName);
}

int SelectedFilterIndex(const QFileDialog& dialog)
{
    const qsizetype i = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    return i < 0 ? 1 : static_cast<int>(i) + 1;
}

}  // namespace

PromptAnswer QtPrompts::Message(QWidget* owner, const QString& caption, const QString& text,
                                PromptIcon icon, PromptButtons buttons)
{
    QMessageBox box(ToQtIcon(icon), caption, DisplayText(text), QMessageBox::NoButton, owner);
    if (buttons == PromptButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return PromptAnswer::Ok;
}

std::optional<QString> QtPrompts::InputBox(QWidget* owner, const QString& caption,
                                           const QString& prompt, const QString& value)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<FileDialogResult> QtPrompts::OpenFile(QWidget* owner, const FileDialogSpec& spec)
{
    QFileDialog dialog(owner);
    PrepareFileDialog(dialog, spec);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(spec.MultipleFiles ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult{dialog.selectedFiles().first(), SelectedFilterIndex(dialog), dialog.selectedFiles()};
}

std::optional<FileDialogResult> QtPrompts::SaveFile(QWidget* owner, const FileDialogSpec& spec)
{
    QFileDialog dialog(owner);
    PrepareFileDialog(dialog, spec);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!spec.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // A name typed without an extension takes the chosen filter's, else the default.
    auto updateSuffix = [&dialog, &spec](const QString& nameFilter) {
        const int index = static_cast<int>(dialog.nameFilters().indexOf(nameFilter)) + 1;
        const QString ext = FilterExtension(spec.Filter, index);
        dialog.setDefaultSuffix(ext.isEmpty() ? spec.DefaultExtension : ext);
    };
    updateSuffix(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, updateSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult{dialog.selectedFiles().first(), SelectedFilterIndex(dialog), dialog.selectedFiles()};
}

std::optional<QString> QtPrompts::Folder(QWidget* owner, const QString& title,
                                         const QString& start)
{
    QFileDialog dialog(owner, title, start);
    PrepareQtFileDialog(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<FontChoice> QtPrompts::Font(QWidget* owner, const FontChoice& initial)
{
    FontColorDialog dialog(initial, [](QWidget* parent, const QColor& color) -> std::optional<QColor> {
        QColorDialog colors(color, parent);
        colors.setWindowTitle(QStringLiteral("Цвет текста"));
        colors.setOption(QColorDialog::DontUseNativeDialog, true);
        if (colors.exec() != QDialog::Accepted)
            return std::nullopt;
        return colors.selectedColor();
    }, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

std::optional<QColor> QtPrompts::Color(QWidget* owner, const QColor& initial,
                                       QList<QColor>& customColors)
{
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, i < customColors.size() ? customColors[i] : QColor(Qt::white));
    QColorDialog dialog(initial, owner);
    dialog.setWindowTitle(QStringLiteral("Цвет"));
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    const bool ok = dialog.exec() == QDialog::Accepted;
    customColors.clear();
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        customColors << QColorDialog::customColor(i);
    if (!ok)
        return std::nullopt;
    return dialog.selectedColor();
}

int QtPrompts::ShowModal(QDialog& form)
{
    return form.exec();
}

}  // namespace quilmo
