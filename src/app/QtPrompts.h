#pragma once
// The prompts the user sees: Qt's dialogs with the program's captions and buttons.

#include "app/Prompts.h"

namespace quilmo {

class QtPrompts : public Prompts {
public:
    PromptAnswer Message(QWidget* owner, const QString& caption, const QString& text,
                         PromptIcon icon, PromptButtons buttons) override;
    std::optional<QString> InputBox(QWidget* owner, const QString& caption,
                                    const QString& prompt, const QString& value) override;
    std::optional<FileDialogResult> OpenFile(QWidget* owner, const FileDialogSpec& spec) override;
    std::optional<FileDialogResult> SaveFile(QWidget* owner, const FileDialogSpec& spec) override;
    std::optional<QString> Folder(QWidget* owner, const QString& title,
                                  const QString& start) override;
    std::optional<FontChoice> Font(QWidget* owner, const FontChoice& initial) override;
    std::optional<QColor> Color(QWidget* owner, const QColor& initial,
                                QList<QColor>& customColors) override;
    int ShowModal(QDialog& form) override;
};

}  // namespace quilmo
