#pragma once
// Moodle XML question banks: reading them into tasks and writing tasks as one.

#include <string>
#include <string_view>
#include <vector>

#include "banks/QuestionBank.h"
#include "model/Expected.h"

namespace quilmo {

// Reads a Moodle XML bank. The file may not declare entities or load anything
// from elsewhere (no DTD, no network); libxml2's own limits hold (a text node
// of at most 10 MB, elements nested at most 256 deep). Fails with a message
// naming the line when the XML is broken or refused; a question that cannot
// become a task is skipped with its reason.
Expected<BankImport> ReadMoodleXml(std::string_view bytes, const BankLimits& limits = {});

// Writes the tasks as a Moodle XML bank (UTF-8): single and multiple choice as
// multichoice, ordering as ordering, the prompt as the first hint, the picture
// embedded in base64 and shown by the question text. A non-empty category
// puts the questions in that category. Tasks that cannot be written are
// skipped with their reason; a picture file that is missing is noted.
BankWriteResult WriteMoodleXml(const std::vector<TTask>& tasks, const std::string& category = {});

}  // namespace quilmo
