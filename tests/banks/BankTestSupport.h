#pragma once
// Tasks written out in one line for the question-bank tests.

#include <array>
#include <string>
#include <vector>

#include "model/TestModel.h"

namespace quilmo::testing {

inline TTask MakeTask(uint8_t type, std::string question, std::string prompt, std::vector<std::string> variants,
                      std::array<int32_t, 5> answers, std::string image = {})
{
    TTask task;
    task.TaskType = type;
    task.Question = std::move(question);
    task.Prompt = std::move(prompt);
    task.ImageFile = std::move(image);
    for (size_t i = 0; i < variants.size() && i < 5; ++i)
        task.Variants[i] = variants[i];
    task.Answers = answers;
    task.VariantCount = LastNonEmptyVariant(task.Variants);
    return task;
}

}  // namespace quilmo::testing
