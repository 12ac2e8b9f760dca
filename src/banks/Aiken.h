#pragma once
// Aiken question banks: single-choice questions in plain text.

#include <string_view>
#include <vector>

#include "banks/QuestionBank.h"
#include "model/Expected.h"

namespace quilmo {

// Reads Aiken text (UTF-8 with or without a byte-order mark; text that is not
// UTF-8 is taken as Windows-1251): the question's line or lines, options
// "A. text" or "A) text", then "ANSWER: X". A question without its ANSWER
// line, without options, with more than five or with an answer that names no
// option is skipped with its reason. Fails only when the file is too big.
Expected<BankImport> ReadAiken(std::string_view bytes, const BankLimits& limits = {});

// Writes the single-choice tasks as Aiken (UTF-8), each question and option
// on one line; other tasks are skipped, pictures and prompts noted as left
// behind.
BankWriteResult WriteAiken(const std::vector<TTask>& tasks);

}  // namespace quilmo
