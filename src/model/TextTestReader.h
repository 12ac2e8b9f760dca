#pragma once
// Reading the line-oriented text of a test into the model.

#include <string>
#include <vector>

#include "model/Expected.h"
#include "model/PicturePath.h"
#include "model/Random.h"
#include "model/TextLines.h"
#include "model/TestModel.h"

namespace quilmo {

inline constexpr const char* kLoadError = "Ошибка загрузки теста!";

enum class CountLineRule {
    WithSubset,    // runner: "T" or "T (M)"
    PlainInteger,  // editor and import: only a plain integer
};

struct TextTestReadOptions {
    // Put in front of every non-empty picture line; ends in '/'. The result is
    // resolved as the picture rules say (see PicturePath.h).
    std::string PictureDir;
    CountLineRule CountRule = CountLineRule::WithSubset;
};

struct ParsedTest {
    std::string Title;
    std::string Description;
    int32_t TaskCount = 0;    // T as read; -1 when the count is not a number
    int32_t SubsetCount = 0;  // M > 0: draw a random M of the T tasks
    TIntDynArray Marks;
    std::vector<TTask> Tasks;
};

// Lines are UTF-8 (decoded from Windows-1251). Fails with kLoadError when a line
// the counts require is missing or the mark count is negative; the work done is
// bounded by the number of lines, whatever the counts say.
Expected<ParsedTest> ParseTestText(const std::vector<std::string>& lines,
                                   const TextTestReadOptions& options);
// The same, taking the lines over instead of copying them (the list is left
// with unspecified contents).
Expected<ParsedTest> ParseTestText(std::vector<std::string>&& lines, const TextTestReadOptions& options);
// The same, reading a file's text (Windows-1251) line by line: only the lines
// the counts name are ever cut out, so lines after the last task cost nothing.
Expected<ParsedTest> ParseTestText(TextLines& lines, const TextTestReadOptions& options);

// Cuts the tasks down to SubsetCount, removing one at a time at a uniformly drawn
// index, and sets TaskCount to SubsetCount. Does nothing when SubsetCount is 0.
void ApplyRandomSubset(ParsedTest& test, TRandom& random);

// Reads the task whose question is lines[first] (prompt, picture, answer line and
// the five variants follow). pictureDir is put in front of a non-empty picture
// line; an empty pictureDir keeps the trimmed line as it is.
Expected<TTask> ReadTaskBlock(const std::vector<std::string>& lines, size_t first,
                              const std::string& pictureDir);
// The same over a file's lines, resolving the picture through the lookup of
// the whole file.
Expected<TTask> ReadTaskBlock(TextLines& lines, size_t first, const std::string& pictureDir,
                              PictureLookup& pictures);

// Sets TaskType and Answers from a trimmed answer line (see the answer line rules).
void ParseAnswerLine(std::string_view line, TTask& task);

}  // namespace quilmo
