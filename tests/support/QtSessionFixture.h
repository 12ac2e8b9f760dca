#pragma once
// A runner with helpers to write a test, take a session and read result.txt.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "runner/InputUserNameUnit.h"
#include "runner/ShowResultUnit.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {

// One task block of the text format.
struct TaskLines {
    TaskLines(std::string question, std::string answer, std::vector<std::string> variants,
              std::string prompt = {}, std::string picture = {})
        : Question(std::move(question)), Answer(std::move(answer)), Variants(std::move(variants)),
          Prompt(std::move(prompt)), Picture(std::move(picture))
    {
    }
    std::string Question;
    std::string Answer;  // "2", "1,3", "2-1"
    std::vector<std::string> Variants;
    std::string Prompt;
    std::string Picture;
};

// The lines of a test file; thresholds are listed highest mark first, as files do.
inline std::vector<std::string> TestFileLines(const std::string& title,
                                              const std::vector<int>& thresholdsHighFirst,
                                              const std::vector<TaskLines>& tasks)
{
    std::vector<std::string> lines = {title, "", std::to_string(tasks.size()), "--------",
                                      std::to_string(thresholdsHighFirst.size()), "--------"};
    for (int t : thresholdsHighFirst)
        lines.push_back(std::to_string(t));
    for (size_t k = 0; k < tasks.size(); ++k) {
        const TaskLines& task = tasks[k];
        lines.push_back("----" + std::to_string(k + 1) + "----");
        lines.push_back(task.Question);
        lines.push_back(task.Prompt);
        lines.push_back(task.Picture);
        lines.push_back(task.Answer);
        for (size_t v = 0; v < 5; ++v)
            lines.push_back(v < task.Variants.size() ? task.Variants[v] : "");
    }
    lines.push_back("----------конец---------");
    return lines;
}

class SessionTest : public RunnerTest {
protected:
    // Writes the test into the program folder, starts the window and opens it.
    std::string OpenTestFile(const std::vector<std::string>& lines, const std::string& name = "test.tst")
    {
        const std::string path = folder.Write(name, Utf8ToCp1251(JoinLinesCrLf(lines)));
        if (!form)
            Start();
        form->OpenTest(QString::fromStdString(path));
        return path;
    }

    // Queues the name prompt answered with name, then Test > Begin.
    void Begin(const QString& name = QStringLiteral("Иванов Пётр"))
    {
        ExpectNamePrompt(name);
        form->MTBeginClick();
    }
    void ExpectNamePrompt(const QString& name)
    {
        prompts.ExpectModal("TInputUserNameForm", [name](QDialog& dialog) {
            static_cast<TInputUserNameForm&>(dialog).SetUserNameText(name);
            return int(QDialog::Accepted);
        });
    }
    // Queues the result window; check sees it as shown.
    void ExpectResultWindow(std::function<void(TShowResultForm&)> check = {})
    {
        prompts.ExpectModal("TShowResultForm", [check](QDialog& dialog) {
            if (check)
                check(static_cast<TShowResultForm&>(dialog));
            return int(QDialog::Accepted);
        });
    }

    // Digits and "=" as the window sees them.
    void Press(const char* keys)
    {
        for (const char* k = keys; *k; ++k)
            form->FormKeyPress(QString(QChar::fromLatin1(*k)));
    }
    QPushButton* NextButton() const { return form->findChild<QPushButton*>("BitBtnGoCheck"); }
    // "Дальше", as a click (which does nothing while it is disabled).
    void Next() { NextButton()->click(); }
    void TickTask(int n)
    {
        for (int i = 0; i < n; ++i)
            form->TimerTaskTimer();
    }
    void TickTest(int n)
    {
        for (int i = 0; i < n; ++i)
            form->TimerTimeTestTimer();
    }
    // Both timers tick n times, as they do while a task is on display.
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i) {
            form->TimerTimeTestTimer();
            form->TimerTaskTimer();
        }
    }

    template <class W>
    W* Widget(const QString& name) const
    {
        W* w = form->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString LabelText(const char* name) const { return Widget<QLabel>(name)->text(); }
    QString Panel(int i) const { return LabelText(QStringLiteral("StatusPanel%1").arg(i).toLatin1()); }
    QString Text(const QString& name) const { return Widget<QPlainTextEdit>(name)->toPlainText(); }
    QString VariantText(int row) const { return Text(QStringLiteral("VariantText%1").arg(row)); }

    // result.txt (or another log) as UTF-8.
    std::string Log(const std::string& relative = "result.txt") const
    {
        return Cp1251ToUtf8(folder.Read(relative));
    }
};

}  // namespace quilmo::testing
