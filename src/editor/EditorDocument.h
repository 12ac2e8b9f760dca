#pragma once
// The test the editor works on: its record, reading it and writing it back.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Expected.h"
#include "model/TestModel.h"
#include "model/TextTestReader.h"
#include "model/UniquePictureNames.h"

namespace quilmo {

inline constexpr const char* kEditorTitle = "Quilmo (Редактор тестов)";

struct TEditorDocument {
    std::string FileName;     // the file read or last written; empty for a new test
    std::string FileDir;      // folder of the file opened, ending in '/'
    std::string Title;
    std::string Description;  // may hold CR LF
    int32_t TaskCount = 0;    // as read; the tree's node count is what counts
    TIntDynArray Marks;       // empty: no grading system yet
    uint8_t Modified = 0;
};

// A new, empty document (everything but nothing to keep).
void ResetDocument(TEditorDocument& document);

// "name - Quilmo (Редактор тестов)", or the bare title for a new test.
std::string EditorCaption(const std::string& fileName);

// Reads any chosen file as a plain text test: the count line must be a plain
// integer (anything else gives no tasks), pictures are joined to the file's
// folder, no subset is drawn. Fails with kLoadError.
Expected<ParsedTest> ReadEditorTest(const std::string& path);

// A Yes/No question (caption "Внимание!"); true on Yes.
using AskYesNo = std::function<bool(const std::string& text)>;

// What one picture rule decided for a task.
struct PictureDecision {
    std::string Line;            // the picture line or the page's address
    bool ChangesImageFile = false;
    std::string NewImageFile;    // when ChangesImageFile
};

// The picture line of a task written into folder dir (ending in '/'): relative
// to dir, or copied beside the test, as the teacher answers. Fails with the
// system's text when a copy fails.
// A picture outside the folder dir cannot be named relative to it: asks
// `question` (with the path for %s) whether to copy it into dir under name,
// asking again before a file of that name there is replaced. True when the
// teacher chose to copy (even if the replacement was then declined); an error
// when the copy failed.
Expected<bool> OfferPictureCopy(const std::string& path, const std::string& dir, const std::string& name,
                                const char* question, const AskYesNo& ask);

// The names taken in dir by the tasks' pictures that are already there: a
// picture copied into dir must not replace one of them.
UniquePictureNames PictureNamesInFolder(const std::vector<const TTask*>& tasks, const std::string& dir);

// A picture copied beside the test takes its name from names, so that it
// replaces no picture another task of the same save uses.
Expected<PictureDecision> EditorPictureLine(const std::string& imageFile, const std::string& dir,
                                            const AskYesNo& ask, UniquePictureNames& names);
// The same for a task on its own.
Expected<PictureDecision> EditorPictureLine(const std::string& imageFile, const std::string& dir,
                                            const AskYesNo& ask);

struct EditorTestLines {
    std::vector<std::string> Lines;   // UTF-8, without line ends
    std::vector<PictureDecision> Pictures;  // one per task
};

// The lines of the document and its tasks, in the text test layout, with the
// editor's picture rule. Pictures may be copied while they are built.
Expected<EditorTestLines> BuildEditorTestLines(const TEditorDocument& document,
                                               const std::vector<const TTask*>& tasks,
                                               const std::string& dir, const AskYesNo& ask);

// Writes the document to path (Windows-1251, CR LF), replacing the file only
// once complete. On success FileName is path, Modified 0, and the tasks take
// the picture paths the rule gave them; on failure (a picture that cannot be
// copied, a file that cannot be written) nothing of the document or the tasks
// changes and the error is the system's text.
Status WriteEditorTest(const std::string& path, TEditorDocument& document,
                       const std::vector<TTask*>& tasks, const AskYesNo& ask);

}  // namespace quilmo
