#pragma once
// The test as one web page, for printing or publishing, with or without its answers.

#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorDocument.h"
#include "model/Expected.h"
#include "model/TestModel.h"

namespace quilmo {

// &, ", ', < and > as character references, the ampersand first.
std::string HtmlEscape(std::string_view text);
// Escaped, each CR LF then a line break tag followed by a real line break.
std::string HtmlText(std::string_view text);

struct HtmlPageInput {
    std::string Title;
    std::string Description;
    std::vector<const TTask*> Tasks;
    bool WithAnswers = false;
};

// The page's lines (UTF-8, without line ends; a line may hold line breaks of
// its own from a field of several lines). dir is the page's folder, ending in
// '/': pictures inside it are addressed relative to it, others are offered for
// copying there. A picture that cannot be copied stops the export with the
// system's text. The tasks are never changed.
Expected<std::vector<std::string>> BuildHtmlPage(const HtmlPageInput& input, const std::string& dir,
                                                 const AskYesNo& ask);

// Builds the page and writes it to path in Windows-1251, replacing the file
// only once complete.
Status ExportHtmlPage(const std::string& path, const HtmlPageInput& input, const AskYesNo& ask);

}  // namespace quilmo
