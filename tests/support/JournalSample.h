#pragma once
// One learner's result as the journal holds it, for the store's tests: a test
// of four tasks stopped after three, begun at 09:mm on 5 March 2024.

#include <string>

#include "journal/ResultProtocol.h"

namespace quilmo::testing {

inline journal::TTestResult JournalSample(const std::string& user, int startMinute)
{
    journal::TTestResult r;
    r.UserName = user;
    r.CompName = "PC-3";
    r.CompUserName = "pupil";
    r.TestTitle = "Дроби";
    r.TestFile = "/srv/Дроби.tst";
    r.TotalCount = 4;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.WrongCount = 1;
    r.NotAskedCount = 1;
    r.Mark = 4;
    r.StartTime = {2024, 3, 5, 9, startMinute, 0, 0};
    r.EndTime = {2024, 3, 5, 9, startMinute + 5, 0, 0};
    r.Duration = 300;
    r.EndMode = 2;
    r.ResultMask = "+-+*";
    r.MaskValues = journal::MaskValuesFromResultMask(r.ResultMask);
    r.TimeMask = "1;2;3;0";
    r.RemoteIP = "10.0.0.3";
    r.ReceivedTime = {2024, 3, 5, 9, startMinute + 5, 2, 0};
    r.FileCrc = 255;
    return r;
}

inline journal::ReceivedEvent JournalResultEvent(const journal::TTestResult& r)
{
    journal::ReceivedEvent e;
    e.kind = journal::ReceivedEvent::Kind::Result;
    e.Result = r;
    return e;
}

}  // namespace quilmo::testing
