#pragma once
// Pictures of the settings dialog, the about box and the file types, painted
// in code like the program's own picture.

#include <QPixmap>
#include <string>

namespace quilmo {

// Picture iconIndex of the program: 0 its own, 1 .tst, 2 .stst, 3 .est.
QPixmap IconPicture(int iconIndex, int size);
// The same as PNG bytes, for icon files.
std::string IconPng(int iconIndex, int size);

// The pictures at the top of the settings pages: 0 associations, 1 network,
// 2 folders, 3 colours.
QPixmap PagePicture(int page, int size);

// The about box's clickable picture (a globe: the portal) and its small
// picture at the top right (a rosette).
QPixmap GlobePicture(int size);
QPixmap RosettePicture(int size);

}  // namespace quilmo
