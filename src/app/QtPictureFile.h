#pragma once
// Reading a question's picture, by the kind its file name gives.

#include <QImage>
#include <string>

namespace quilmo {

// The picture, decoded as the kind its extension names (whatever its bytes
// claim); a null image for a kind the program does not show or a file that
// does not decode.
QImage ReadQuestionPicture(const std::string& path);

}  // namespace quilmo
