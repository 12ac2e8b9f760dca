#pragma once
// What the question-bank formats (Moodle XML, GIFT, Aiken) share: the tasks a
// bank gives, the pictures to write beside them and the questions that could
// not travel, each with its reason.

#include <cstdint>
#include <string>
#include <vector>

#include "model/TestModel.h"

namespace quilmo {

// A question left out, on reading or on writing, and why.
struct SkippedQuestion {
    size_t Number = 0;   // 1-based position among the questions (tasks) of the file
    std::string Name;    // the question's name or the start of its text; may be empty
    std::string Reason;  // Russian, for the user

    bool operator==(const SkippedQuestion&) const = default;
};

// "Вопрос 3 «name»: reason" (the name only when there is one).
std::string SkippedQuestionText(const SkippedQuestion& skipped);

// A picture of an imported task, not yet written anywhere.
struct BankPicture {
    std::string Name;   // bare file name, unique in the bank ignoring letter case
    std::string Bytes;  // in a form the runner shows (JPEG, GIF, BMP, ICO, WMF/EMF)

    bool operator==(const BankPicture&) const = default;
};

// What reading a bank gives. A task's ImageFile holds the bare name of its
// picture in Pictures until WriteBankPictures puts the files in a folder.
struct BankImport {
    std::vector<TTask> Tasks;
    std::vector<BankPicture> Pictures;
    std::vector<SkippedQuestion> Skipped;
};

// What writing a bank gives: the file's bytes (UTF-8), the tasks left out and
// remarks on tasks written with something lost (a picture the format cannot
// carry, a missing picture file).
struct BankWriteResult {
    std::string Bytes;
    size_t Written = 0;
    std::vector<SkippedQuestion> Skipped;
    std::vector<SkippedQuestion> Notes;
};

// What a bank file may cost to read, whatever it claims.
struct BankLimits {
    uint64_t MaxFileBytes = uint64_t(128) << 20;
    uint64_t MaxTextBytes = 10000000;                // one text of a Moodle XML file (a picture's base64 too)
    uint64_t MaxPictureBytes = uint64_t(16) << 20;  // one decoded picture
    uint64_t MaxPicturePixels = uint64_t(16) << 20; // one picture to convert (4096 x 4096)
};

}  // namespace quilmo
