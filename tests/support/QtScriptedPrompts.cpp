#include "support/QtScriptedPrompts.h"

#include <gtest/gtest.h>

namespace quilmo::testing {

const char* KindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Message: return "message";
    case PromptKind::Input: return "input box";
    case PromptKind::OpenFile: return "open dialog";
    case PromptKind::SaveFile: return "save dialog";
    case PromptKind::Folder: return "folder browser";
    case PromptKind::Font: return "font dialog";
    case PromptKind::Color: return "colour dialog";
    case PromptKind::Modal: return "modal form";
    }
    return "?";
}

ScriptedPrompts::Step ScriptedPrompts::NewStep(PromptKind kind, const QString& text)
{
    Step step;
    step.Kind = kind;
    step.Text = text;
    return step;
}

ScriptedPrompts::~ScriptedPrompts()
{
    Verify();
}

void ScriptedPrompts::Verify()
{
    for (const Step& step : steps_)
        ADD_FAILURE() << "expected " << KindName(step.Kind) << " \"" << step.Text.toStdString()
                      << "\" was never shown";
    steps_.clear();
}

const ShownPrompt& ScriptedPrompts::Last() const
{
    static const ShownPrompt none{PromptKind::Message, {}, {}, PromptIcon::None, PromptButtons::Ok, {}};
    if (shown_.empty()) {
        ADD_FAILURE() << "no prompt was shown";
        return none;
    }
    return shown_.back();
}

QStringList ScriptedPrompts::Messages() const
{
    QStringList list;
    for (const ShownPrompt& p : shown_)
        if (p.Kind == PromptKind::Message)
            list << p.Text;
    return list;
}

ScriptedPrompts& ScriptedPrompts::ExpectMessage(const QString& text, PromptAnswer answer)
{
    Step step = NewStep(PromptKind::Message, text);
    step.Answer = answer;
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectInput(const QString& prompt, std::optional<QString> answer)
{
    Step step = NewStep(PromptKind::Input, prompt);
    step.Value = std::move(answer);
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectOpenFile(std::optional<QString> path, int filterIndex)
{
    Step step = NewStep(PromptKind::OpenFile, {});
    step.Value = std::move(path);
    step.FilterIndex = filterIndex;
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectOpenFiles(std::optional<QStringList> paths)
{
    Step step = NewStep(PromptKind::OpenFile, {});
    if (paths && !paths->isEmpty()) {
        step.Value = paths->first();
        step.Values = *paths;
    }
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectSaveFile(std::optional<QString> path, int filterIndex)
{
    Step step = NewStep(PromptKind::SaveFile, {});
    step.Value = std::move(path);
    step.FilterIndex = filterIndex;
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectFolder(std::optional<QString> path)
{
    Step step = NewStep(PromptKind::Folder, {});
    step.Value = std::move(path);
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectFont(std::optional<QFont> font, std::optional<QColor> color)
{
    Step step = NewStep(PromptKind::Font, {});
    step.FontValue = std::move(font);
    step.ColorValue = std::move(color);
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectColor(std::optional<QColor> color)
{
    Step step = NewStep(PromptKind::Color, {});
    step.ColorValue = std::move(color);
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::ExpectModal(const QString& className,
                                              std::function<int(QDialog&)> run)
{
    Step step = NewStep(PromptKind::Modal, className);
    step.Run = std::move(run);
    steps_.push_back(step);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::During(std::function<void()> action)
{
    if (steps_.empty())
        ADD_FAILURE() << "During() needs a queued prompt";
    else
        steps_.back().During = std::move(action);
    return *this;
}

std::optional<ScriptedPrompts::Step> ScriptedPrompts::Take(const ShownPrompt& shown)
{
    shown_.push_back(shown);
    if (steps_.empty()) {
        ADD_FAILURE() << "unexpected " << KindName(shown.Kind) << ": \""
                      << shown.Caption.toStdString() << "\" \"" << shown.Text.toStdString() << "\"";
        return std::nullopt;
    }
    Step step = steps_.front();
    const bool textMatches = step.Text.isEmpty() || step.Text == shown.Text ||
                             (shown.Kind == PromptKind::Modal && step.Text == shown.Caption);
    if (step.Kind != shown.Kind || !textMatches) {
        ADD_FAILURE() << "expected " << KindName(step.Kind) << " \"" << step.Text.toStdString()
                      << "\" but got " << KindName(shown.Kind) << ": \""
                      << shown.Caption.toStdString() << "\" \"" << shown.Text.toStdString() << "\"";
        return std::nullopt;
    }
    steps_.pop_front();
    if (step.During)
        step.During();
    return step;
}

PromptAnswer ScriptedPrompts::Message(QWidget*, const QString& caption, const QString& text,
                                      PromptIcon icon, PromptButtons buttons)
{
    const auto step = Take({PromptKind::Message, caption, text, icon, buttons, {}});
    if (!step)
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    if (buttons == PromptButtons::Ok && step->Answer != PromptAnswer::Ok)
        ADD_FAILURE() << "an OK box cannot be answered Yes or No: " << text.toStdString();
    if (buttons == PromptButtons::YesNo && step->Answer == PromptAnswer::Ok)
        ADD_FAILURE() << "a Yes/No box needs Yes or No: " << text.toStdString();
    return step->Answer;
}

std::optional<QString> ScriptedPrompts::InputBox(QWidget*, const QString& caption,
                                                 const QString& prompt, const QString& value)
{
    ShownPrompt shown{PromptKind::Input, caption, prompt, PromptIcon::None, PromptButtons::Ok, {}};
    shown.File.FileName = value;  // the proposed text
    const auto step = Take(shown);
    return step ? step->Value : std::nullopt;
}

std::optional<FileDialogResult> ScriptedPrompts::OpenFile(QWidget*, const FileDialogSpec& spec)
{
    ShownPrompt shown{PromptKind::OpenFile, spec.Title, spec.Filter, PromptIcon::None,
                      PromptButtons::Ok, spec};
    const auto step = Take(shown);
    if (!step || !step->Value)
        return std::nullopt;
    if (!step->Values.isEmpty() && !spec.MultipleFiles)
        ADD_FAILURE() << "several files chosen in an open dialog that takes one";
    return FileDialogResult{*step->Value, step->FilterIndex,
                            step->Values.isEmpty() ? QStringList{*step->Value} : step->Values};
}

std::optional<FileDialogResult> ScriptedPrompts::SaveFile(QWidget*, const FileDialogSpec& spec)
{
    ShownPrompt shown{PromptKind::SaveFile, spec.Title, spec.Filter, PromptIcon::None,
                      PromptButtons::Ok, spec};
    const auto step = Take(shown);
    if (!step || !step->Value)
        return std::nullopt;
    return FileDialogResult{*step->Value, step->FilterIndex, {*step->Value}};
}

std::optional<QString> ScriptedPrompts::Folder(QWidget*, const QString& title, const QString& start)
{
    ShownPrompt shown{PromptKind::Folder, title, start, PromptIcon::None, PromptButtons::Ok, {}};
    const auto step = Take(shown);
    return step ? step->Value : std::nullopt;
}

std::optional<FontChoice> ScriptedPrompts::Font(QWidget*, const FontChoice& initial)
{
    ShownPrompt shown{PromptKind::Font, {}, initial.Font.family(), PromptIcon::None,
                      PromptButtons::Ok, {}};
    shown.Font = initial;
    const auto step = Take(shown);
    if (!step || !step->FontValue)
        return std::nullopt;
    return FontChoice{*step->FontValue, step->ColorValue.value_or(initial.Color)};
}

std::optional<QColor> ScriptedPrompts::Color(QWidget*, const QColor& initial,
                                             QList<QColor>& customColors)
{
    lastCustomColors_ = customColors;
    const auto step = Take({PromptKind::Color, {}, initial.name(), PromptIcon::None,
                            PromptButtons::Ok, {}});
    return step ? step->ColorValue : std::nullopt;
}

int ScriptedPrompts::ShowModal(QDialog& form)
{
    QString className = QString::fromLatin1(form.metaObject()->className());
    className = className.mid(className.lastIndexOf(':') + 1);
    const auto step = Take({PromptKind::Modal, className, form.windowTitle(), PromptIcon::None,
                            PromptButtons::Ok, {}});
    if (!step)
        return QDialog::Rejected;
    const int result = step->Run ? step->Run(form) : QDialog::Accepted;
    form.setResult(result);
    return result;
}

}  // namespace quilmo::testing
