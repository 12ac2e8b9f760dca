// The editor's import of another test's tasks, from a file in a scratch
// folder. Every input either fails with the import's one message or gives the
// count of tasks its count line names, each holding together, with pictures
// joined to the file's folder. What the editor opens, it imports alike.

#include <fstream>

#include "FuzzSupport.h"
#include "editor/TaskImport.h"
#include "model/TextUtil.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = fuzz::ScratchFolder("import");
    const std::string path = folder + "other.tst";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
        if (!out.flush())
            fuzz::Fail("cannot write the input file", path);
    }

    Expected<ImportedTasks> imported = Error{""};
    {
        // Reading must not write anywhere, not even beside the file.
        fuzz::WriteGuard guard(folder + "nothing/");
        imported = ReadImportFile(path);
    }

    // The same file as the editor opens it.
    TextTestReadOptions options;
    options.PictureDir = folder;
    options.CountRule = CountLineRule::PlainInteger;
    const auto opened = ParseTestText(fuzz::LinesOf(data, size), options);

    if (!imported) {
        fuzz::Check(imported.error().Message == kImportError, "an unexpected error text",
                    imported.error().Message);
        fuzz::Check(!opened || opened->Tasks.empty(), "a test the editor opens with tasks does not import");
        return 0;
    }
    const std::vector<std::string> lines = fuzz::LinesOf(data, size);
    fuzz::Check(lines.size() > 2 && !imported->Tasks.empty() &&
                    imported->Tasks.size() == size_t(StrToIntDef(Trim(lines[2]), -1)),
                "the tasks imported are not as many as the count line says");
    fuzz::Check(imported->Title == lines[0], "the title is not the first line");
    for (const TTask& task : imported->Tasks) {
        fuzz::CheckTask(task);
        fuzz::Check(task.ImageFile.empty() || task.ImageFile.rfind(folder, 0) == 0,
                    "a picture not joined to the file's folder", task.ImageFile);
    }
    if (opened)
        fuzz::Check(opened->Tasks == imported->Tasks, "the editor opens other tasks than it imports");
    return 0;
}
