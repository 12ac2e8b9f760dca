#pragma once
// Prompts answered from a script. A test queues the prompts it expects, in
// order, with their answers; every prompt shown is recorded; a prompt that was
// not expected fails the test, and so does an expected one that never came.

#include <QDialog>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/AppServices.h"
#include "app/Prompts.h"

namespace quilmo::testing {

enum class PromptKind { Message, Input, OpenFile, SaveFile, Folder, Font, Color, Modal };
const char* KindName(PromptKind kind);

struct ShownPrompt {
    PromptKind Kind;
    QString Caption;  // message caption, input caption, dialog title, or the form's class name
    QString Text;     // message text or input prompt
    PromptIcon Icon = PromptIcon::None;
    PromptButtons Buttons = PromptButtons::Ok;
    FileDialogSpec File;  // for file dialogs
    FontChoice Font = {};  // what the font dialog was preset with
};

class ScriptedPrompts : public Prompts {
public:
    ~ScriptedPrompts() override;

    // Each Expect... queues one prompt. `text` must equal the message text
    // (or input prompt) exactly; an empty text matches any.
    ScriptedPrompts& ExpectMessage(const QString& text, PromptAnswer answer = PromptAnswer::Ok);
    ScriptedPrompts& ExpectInput(const QString& prompt, std::optional<QString> answer);
    ScriptedPrompts& ExpectOpenFile(std::optional<QString> path, int filterIndex = 1);
    // An open dialog that takes several files; nullopt cancels it.
    ScriptedPrompts& ExpectOpenFiles(std::optional<QStringList> paths);
    ScriptedPrompts& ExpectSaveFile(std::optional<QString> path, int filterIndex = 1);
    ScriptedPrompts& ExpectFolder(std::optional<QString> path);
    // The font dialog answers font (nullopt cancels it) and color, or the
    // colour it was preset with when color is nullopt.
    ScriptedPrompts& ExpectFont(std::optional<QFont> font, std::optional<QColor> color = std::nullopt);
    ScriptedPrompts& ExpectColor(std::optional<QColor> color);
    // A modal form of the given class (its metaObject()->className() without
    // namespace); `run` plays the user's part and returns the dialog's result.
    ScriptedPrompts& ExpectModal(const QString& className, std::function<int(QDialog&)> run);
    // Runs while the last queued prompt is open, before it is answered: a timer
    // firing behind a box, say.
    ScriptedPrompts& During(std::function<void()> action);

    // Fails the test if expected prompts were not shown; clears the queue.
    void Verify();
    bool Empty() const { return steps_.empty(); }

    const std::vector<ShownPrompt>& Shown() const { return shown_; }
    const ShownPrompt& Last() const;
    // Texts of the messages shown, in order.
    QStringList Messages() const;
    // The custom colours the last colour dialog was given; it hands them back unchanged.
    const QList<QColor>& LastCustomColors() const { return lastCustomColors_; }

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

private:
    struct Step {
        PromptKind Kind = PromptKind::Message;
        QString Text;
        PromptAnswer Answer = PromptAnswer::Ok;
        std::optional<QString> Value;  // input text, file or folder path
        QStringList Values;            // the files of a several-file open dialog
        int FilterIndex = 1;
        std::optional<QFont> FontValue;
        std::optional<QColor> ColorValue;
        std::function<int(QDialog&)> Run;
        std::function<void()> During;
    };
    static Step NewStep(PromptKind kind, const QString& text);
    // Takes the next step if it matches; records a failure otherwise.
    std::optional<Step> Take(const ShownPrompt& shown);

    std::deque<Step> steps_;
    std::vector<ShownPrompt> shown_;
    QList<QColor> lastCustomColors_;
};

// A desktop that only records what it was asked to open.
class RecordingDesktop : public Desktop {
public:
    bool OpenUrl(const QUrl& url) override
    {
        Opened << url;
        return true;
    }
    bool StartCalculator() override
    {
        ++CalculatorStarts;
        return CalculatorAvailable;
    }
    QList<QUrl> Opened;
    int CalculatorStarts = 0;
    bool CalculatorAvailable = true;
};

}  // namespace quilmo::testing
