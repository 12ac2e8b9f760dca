#pragma once
// GIFT question banks (Moodle's text format): reading and writing.

#include <string_view>
#include <vector>

#include "banks/QuestionBank.h"
#include "model/Expected.h"

namespace quilmo {

// Reads GIFT text (UTF-8 with or without a byte-order mark; text that is not
// UTF-8 is taken as Windows-1251). Questions are separated by blank lines;
// comment lines (//) and $CATEGORY: lines are left out, a ::title:: is
// dropped. {=right ~wrong} is single choice, {~%50%a ~%50%b ~%-100%c}
// multiple choice (positive weights right), {T} {F} {TRUE} {FALSE} true or
// false; the general feedback (####), else the first answer feedback (#), is
// the prompt. Every other kind of question, and one with unbalanced braces,
// is skipped with its reason. Fails only when the file is too big.
Expected<BankImport> ReadGift(std::string_view bytes, const BankLimits& limits = {});

// Writes single- and multiple-choice tasks as GIFT (UTF-8), the prompt as the
// general feedback. Ordering tasks are skipped (GIFT has no such type);
// pictures are noted as left behind.
BankWriteResult WriteGift(const std::vector<TTask>& tasks);

}  // namespace quilmo
