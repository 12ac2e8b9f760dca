#pragma once
// Turning a bank's question into a Quilmo task, and a task back into the
// answers a bank writes: the mapping rules and the reasons a question cannot
// travel, shared by every format.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "banks/QuestionBank.h"
#include "model/Expected.h"
#include "model/TestModel.h"

namespace quilmo {

inline constexpr const char* kReasonNoText = "нет текста вопроса";
inline constexpr const char* kReasonNoAnswers = "нет вариантов ответа";
inline constexpr const char* kReasonTooManyAnswers = "больше пяти вариантов ответа";
inline constexpr const char* kReasonNoRightAnswer = "нет правильного ответа";
inline constexpr const char* kReasonSeveralRight = "несколько правильных ответов в вопросе с одним ответом";
inline constexpr const char* kReasonEmptyAnswer = "вариант ответа без текста";
inline constexpr const char* kReasonOrderIncomplete = "порядок задан не для всех вариантов";
// "тип вопроса «type» не переносится в Quilmo"
std::string UnsupportedTypeReason(std::string_view type);

// One answer of a choice question as a bank gives it.
struct BankChoice {
    std::string Text;
    double Fraction = 0;  // the answer's share of the mark, in percent
};

enum class ChoiceRule {
    SingleRight,          // single choice: the answer of the highest positive fraction
    EveryPositiveRight,   // multiple choice: every answer of positive fraction
};

// The task for a choice question, or the reason it cannot be one (the
// Error's message). Texts are plain text with CR LF line breaks already.
Expected<TTask> BuildChoiceTask(std::string question, std::string prompt,
                                const std::vector<BankChoice>& choices, ChoiceRule rule);
// The task for an ordering question whose items are listed in their right order.
Expected<TTask> BuildOrderingTask(std::string question, std::string prompt,
                                  const std::vector<std::string>& items);

// A task as a bank writes it: its used variants in order, each with its key.
struct ExportAnswer {
    std::string Text;
    bool Right = false;  // single and multiple choice
};
struct ExportTask {
    uint8_t TaskType = SingleChoice;
    std::vector<ExportAnswer> Answers;  // ordering: in the right order
    size_t RightCount = 0;
};

// The answers of a task, or the reason it cannot be written (no text, no
// variant, no right answer, an ordering that does not place every variant).
// Empty variants are left out.
Expected<ExportTask> TaskForExport(const TTask& task);

// One task as a writer gets it: its 1-based number, its short name, its answers.
struct TaskToWrite {
    const TTask& Task;
    size_t Number;
    const std::string& Name;
    const ExportTask& Answers;
};

// Goes through the tasks for a writer: a task that cannot be written (see
// TaskForExport), or for which refuse gives a reason (a type the format lacks),
// is recorded as skipped; write is called for each other one, which then
// counts as written.
BankWriteResult WriteEachTask(const std::vector<TTask>& tasks,
                              const std::function<std::string(const TaskToWrite&)>& refuse,
                              const std::function<void(const TaskToWrite&, BankWriteResult&)>& write);

// The share of the mark of one of k right answers, in percent, as Moodle
// lists it: "100", "50", "33.33333", "25", "20".
const char* RightShare(size_t k);

// Any line break (CR LF, a lone CR or LF) as CR LF; NUL dropped.
std::string CrLfLineBreaks(std::string_view text);
// The text on one line: line breaks and runs of blanks become one space, trimmed.
std::string OneLine(std::string_view text);
// A short name for a question: its text on one line, cut to about 60 characters.
std::string QuestionName(std::string_view text);

// Bytes of a text file: a UTF-8 byte-order mark dropped; text that is not
// UTF-8 is taken as Windows-1251 (the program's own code page).
std::string DecodeTextFile(std::string_view bytes);

}  // namespace quilmo
