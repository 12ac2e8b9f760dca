#pragma once
// The program's pictures, painted in code so that they scale and need no files.

#include <QIcon>
#include <QPixmap>

namespace quilmo {

// The program's own picture: a test sheet with a tick.
QPixmap ProgramPicture(int size);
QIcon ProgramIcon();
// The arrow of the "Дальше" button.
QIcon NextArrowIcon();

}  // namespace quilmo
