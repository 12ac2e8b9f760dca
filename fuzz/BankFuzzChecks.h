#pragma once
// What every question bank read must hold, shared by the three bank targets.

#include <set>

#include "FuzzSupport.h"
#include "banks/BankPictures.h"
#include "banks/BankTask.h"
#include "model/CheckTestContainer.h"
#include "model/TextUtil.h"

namespace quilmo::fuzz {

// Every task holds together and is complete (text, a right answer, no empty
// variant), its picture is one of the bank's, every picture has a safe name
// unique ignoring case and bytes the runner shows, the skipped questions
// come in file order with a reason each.
inline void CheckBank(const BankImport& bank)
{
    std::set<std::string> names;
    for (const BankPicture& p : bank.Pictures) {
        Check(IsSafeEmbeddedName(p.Name), "an unsafe picture name", p.Name);
        Check(names.insert(ToLowerUtf8(p.Name)).second, "two pictures of one name", p.Name);
        const PictureFormat kind = SniffPicture(p.Bytes);
        Check(kind != PictureFormat::Png && kind != PictureFormat::Unknown, "a picture the runner cannot show", p.Name);
    }
    for (const TTask& task : bank.Tasks) {
        CheckTask(task);
        Check(!Trim(task.Question).empty(), "a task without text");
        Check(TaskForExport(task).has_value(), "a task that could not be written back", task.Question);
        Check(task.ImageFile.empty() || names.count(ToLowerUtf8(task.ImageFile)) == 1, "a task's picture is not in the bank",
              task.ImageFile);
        Check(task.Prompt.find_first_of("\r\n") == std::string::npos, "a prompt of more than one line");
    }
    size_t last = 0;
    for (const SkippedQuestion& s : bank.Skipped) {
        Check(s.Number > last, "skipped questions out of order");
        Check(!s.Reason.empty(), "a question skipped without a reason");
        last = s.Number;
    }
}

// Tasks with their pictures left out, as a writer that finds no picture
// files writes them.
inline std::vector<TTask> WithoutPictures(std::vector<TTask> tasks)
{
    for (TTask& t : tasks)
        t.ImageFile.clear();
    return tasks;
}

}  // namespace quilmo::fuzz
