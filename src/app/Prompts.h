#pragma once
// Every modal interaction goes through this interface, which every form receives:
// QtPrompts shows real dialogs, the tests' ScriptedPrompts answers from a script.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

namespace quilmo {

enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };

// A file dialog. Filter uses the "Caption|*.A;*.B|Caption|*.C" form; patterns
// match without regard to case.
struct FileDialogSpec {
    QString Title;
    QString Filter;
    int FilterIndex = 1;        // 1-based, as the filter lists them
    QString DefaultExtension;   // added when the typed name has none ("EST")
    QString InitialDir;         // empty: the dialog's own choice
    QString FileName;           // preset name
    bool OverwritePrompt = false;
    bool MultipleFiles = false; // an open dialog that takes several files at once
};

// The font dialog's value: the font and the text colour (an invalid colour:
// the dialog offers none).
struct FontChoice {
    QFont Font;
    QColor Color;
};

struct FileDialogResult {
    QString Path;
    int FilterIndex = 1;  // the filter chosen, 1-based
    QStringList Paths;    // every file chosen (Path is the first)
};

class Prompts {
public:
    virtual ~Prompts() = default;

    virtual PromptAnswer Message(QWidget* owner, const QString& caption, const QString& text,
                                 PromptIcon icon, PromptButtons buttons) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> InputBox(QWidget* owner, const QString& caption,
                                            const QString& prompt, const QString& value) = 0;
    virtual std::optional<FileDialogResult> OpenFile(QWidget* owner, const FileDialogSpec& spec) = 0;
    virtual std::optional<FileDialogResult> SaveFile(QWidget* owner, const FileDialogSpec& spec) = 0;
    virtual std::optional<QString> Folder(QWidget* owner, const QString& title,
                                          const QString& start) = 0;
    // Preset with initial; nullopt when cancelled.
    virtual std::optional<FontChoice> Font(QWidget* owner, const FontChoice& initial) = 0;
    // customColors: the sixteen custom colour slots, read and written back.
    virtual std::optional<QColor> Color(QWidget* owner, const QColor& initial,
                                        QList<QColor>& customColors) = 0;
    // Shows a form modally and returns its QDialog result code.
    virtual int ShowModal(QDialog& form) = 0;

    // Shorthands for the program's usual boxes.
    // "Ошибка!" with the error icon.
    void LoadError(QWidget* owner, const QString& text);
    // The program's title as caption, OK, no icon.
    void Notice(QWidget* owner, const QString& text);
    // Yes/No with the question icon; true on Yes.
    bool Ask(QWidget* owner, const QString& caption, const QString& text);
};

inline constexpr const char* kAppTitle = "Quilmo";

}  // namespace quilmo
