#pragma once
// Which pictures a question may carry: the one rule the runner's loader, the
// editor's loader, its open-picture dialog and its task check all follow, so
// that a picture the teacher sees is a picture every learner sees.

#include <string>
#include <string_view>
#include <vector>

namespace quilmo {

enum class PictureKind { None, Bitmap, Icon, Metafile, Jpeg, Gif };

struct PictureKindEntry {
    PictureKind Kind;
    const char* Caption;                  // the kind's name in the open-picture dialog
    std::vector<std::string> Extensions;  // lower case, without the dot
};

// Every kind a question's picture may be, in the order the dialog lists them.
const std::vector<PictureKindEntry>& PictureKinds();

// The kind a file's name gives by its extension, in any letter case;
// None for every other extension (PNG among them) and for no extension.
PictureKind PictureKindOf(std::string_view path);

// The open-picture dialog's filter: all pictures first, then each kind
// ("Все рисунки|*.JPG;*.JPEG;…|JPEG|*.JPG;…|…").
std::string PictureFilter();

}  // namespace quilmo
