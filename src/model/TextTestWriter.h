#pragma once
// Turning a test back into its text lines.

#include <string>
#include <string_view>
#include <vector>

#include "model/TestModel.h"
#include "model/UniquePictureNames.h"

namespace quilmo {

inline constexpr const char* kEndLine = "----------конец---------";

// A multi-line field (description, question, variant) as one line of the
// file: CR LF, and any lone CR or LF, become _CRLF_; a NUL is dropped.
std::string MultiLineField(std::string_view s);

// The answer line of a task: "2", "1,3", "3-1-2", or empty.
std::string BuildAnswerLine(const TTask& task);

struct TextTestWriteResult {
    std::vector<std::string> Lines;            // UTF-8, without line ends
    // Each picture file once, in order, with the bare name its picture lines
    // say: its own, unless an earlier picture's name clashes with it.
    std::vector<SavedPicture> Pictures;
    std::vector<std::string> MissingPictures;  // picture paths that did not exist, in task order
};

// Writes the header with the given title, description and marks, one block per
// task, and the end line. A picture that exists is written as its bare file
// name, made unique (see UniquePictureNames), and listed in Pictures; a
// missing one is written as an empty line and listed in MissingPictures (the
// caller tells the user).
TextTestWriteResult WriteTestText(const TTestInfo& info, const std::vector<TTask>& tasks);

// What the user is told about a picture dropped because it is missing:
// "Файла: "path" не существует." (caption "Внимание!", information icon).
std::string MissingPictureText(const std::string& path);

}  // namespace quilmo
