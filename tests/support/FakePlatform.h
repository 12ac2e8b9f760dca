#pragma once
// A platform with fixed answers, so that scenarios are repeatable.

#include <string>

#include "app/Platform.h"

namespace quilmo::testing {

class FakePlatform : public Platform {
public:
    std::string ComputerName() override { return Computer; }
    std::string AccountName() override { return Account; }
    std::string LocalIPv4() override { return Address; }
    uint32_t PerformanceCounter() override { return Counter++; }
    std::string TempFolder() override { return Temp; }
    std::string NewGuid() override
    {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "{00000000-0000-4000-8000-%012d}", ++Guids);
        return buffer;
    }
    TDateTime Now() override { return Clock; }

    std::string Computer = "CLASS-PC-07";
    std::string Account = "pupil";
    std::string Address = "192.168.1.17";
    uint32_t Counter = 12345;
    std::string Temp;
    int Guids = 0;
    TDateTime Clock{2024, 3, 5, 9, 15, 2, 0};
};

}  // namespace quilmo::testing
