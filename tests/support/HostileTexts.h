#pragma once
// Test texts (Windows-1251) that cost memory out of proportion to their size
// when a reader keeps a string per line or a model per task, and a test whose
// picture names clash.

#include <string>
#include <vector>

#include "model/Cp1251.h"
#include "model/TextUtil.h"

namespace quilmo::testing {

// One valid single-choice task ("Вопрос", variants "Да" and "Нет", the second
// right); whatever is appended after it is never read.
inline std::string OneTaskHead()
{
    return Utf8ToCp1251(JoinLinesCrLf({"Тест", "", "1", "--------", "2", "--------", "1", "0", "----1----",
                                       "Вопрос", "", "", "2", "Да", "Нет", "", "", ""}));
}

// count tasks of one letter each: little text, much model. Built without a
// line list, whose freed room a child under a memory cap could reuse.
inline std::string ManySmallTasks(int count)
{
    std::string text = Utf8ToCp1251("Много\r\n\r\n") + std::to_string(count) + "\r\n--------\r\n0\r\n--------\r\n";
    for (int k = 1; k <= count; ++k)
        text += "----\r\nq\r\n\r\n\r\n1\r\na\r\n\r\n\r\n\r\n\r\n";
    return text;
}

// The pictures of ClashingPicturesTest, relative to its folder, and the bare
// names a writer gives them.
inline const std::vector<std::string> kClashingPictures = {"a/p.jpg", "b/p.jpg", "Pic.jpg", "pic.jpg"};
inline const std::vector<std::string> kClashingPicturesSaved = {"p.jpg", "p~2.jpg", "Pic.jpg", "pic~2.jpg"};

// Four tasks whose pictures share a bare name, two of them only up to letter
// case; with saved, the picture lines hold the names a writer gives them.
inline std::vector<std::string> ClashingPicturesTest(bool saved = false)
{
    std::vector<std::string> lines = {"Рисунки", "", "4", "--------", "2", "--------", "1", "0"};
    for (size_t k = 0; k < 4; ++k)
        for (const std::string& line :
             std::vector<std::string>{"----" + std::to_string(k + 1) + "----", "Вопрос " + std::to_string(k + 1),
                                      "", saved ? kClashingPicturesSaved[k] : kClashingPictures[k], "1", "Да", "",
                                      "", "", ""})
            lines.push_back(line);
    lines.push_back("----------конец---------");
    return lines;
}

}  // namespace quilmo::testing
