#include "model/TestModel.h"

namespace quilmo {

int32_t LastNonEmptyVariant(const std::array<std::string, 5>& variants)
{
    for (int i = 4; i >= 0; --i)
        if (!variants[i].empty())
            return i + 1;
    return 0;
}

}  // namespace quilmo
