// The editor's paste: the clipboard's text (which reaches the parser through
// Windows-1251) into one task. Paste is offered exactly for a text of ten
// lines, and what it offers must paste; a pasted task must hold together,
// and copying it and pasting it again must give the same task, but for what
// the answer line cannot tell (see AsReadBack).

#include <algorithm>

#include "FuzzSupport.h"
#include "editor/ClipboardTask.h"
#include "model/Cp1251.h"

using namespace quilmo;

namespace {

// The task as its answer line reads back. The type is inferred from the line:
// a multiple-choice or ordering key of one variant is written as a bare
// number and reads back as single choice; an ordering list keeps only the
// order of its places, which read back as 1, 2, 3..., and only places 1 to 5
// are written (a list naming a variant twice can give a later one a place
// above 5).
TTask AsReadBack(TTask task)
{
    std::vector<std::pair<int32_t, size_t>> marked;  // (place, variant)
    for (size_t v = 0; v < task.Answers.size(); ++v)
        if (task.Answers[v] > 0 && (task.TaskType != Ordering || task.Answers[v] <= 5))
            marked.emplace_back(task.Answers[v], v);
    if (task.TaskType == Ordering)
        task.Answers.fill(0);
    if (task.TaskType != SingleChoice && marked.size() <= 1) {
        task.TaskType = SingleChoice;
        task.Answers.fill(0);
        for (const auto& m : marked)
            task.Answers[m.second] = 1;
    } else if (task.TaskType == Ordering) {
        std::sort(marked.begin(), marked.end());
        for (size_t k = 0; k < marked.size(); ++k)
            task.Answers[marked[k].second] = static_cast<int32_t>(k + 1);
    }
    return task;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool offered = IsClipboardTaskText(text);
    auto pasted = ParseClipboardText(text);
    if (!pasted) {
        fuzz::Check(pasted.error().Message == kPasteError, "an unexpected error text", pasted.error().Message);
        fuzz::Check(!offered, "paste offered for a text that does not paste");
        return 0;
    }
    fuzz::CheckTask(*pasted);

    // Copy, as the editor does: through Windows-1251 to the clipboard.
    const std::string copied = Cp1251ToUtf8(Utf8ToCp1251(BuildClipboardText(*pasted)));
    fuzz::Check(IsClipboardTaskText(copied), "a copied task is not offered for paste", copied);
    auto again = ParseClipboardText(copied);
    fuzz::Check(again.has_value(), "a copied task does not paste", copied);
    fuzz::Check(*again == AsReadBack(*pasted), "a copied task pastes otherwise", copied);
    fuzz::Check(BuildClipboardText(*again) == BuildClipboardText(*pasted), "a task copies otherwise the second time");
    return 0;
}
