#pragma once
// Did a result reach the journal as the runner sent it? Every field the
// runner sends, the loopback peer address, and the mask rebuilt from it.

#include "journal/ResultProtocol.h"
#include "model/TestResult.h"

namespace quilmo::testing {

inline bool SameAsSentOverLoopback(const journal::TTestResult& got, const quilmo::TTestResult& sent)
{
    return got.UserName == sent.UserName && got.CompName == sent.CompName &&
           got.CompUserName == sent.CompUserName && got.TestTitle == sent.TestTitle &&
           got.TestFile == sent.TestFile && got.TotalCount == sent.TotalCount &&
           got.AskedCount == sent.AskedCount && got.RightCount == sent.RightCount &&
           got.WrongCount == sent.WrongCount && got.NotAskedCount == sent.NotAskedCount &&
           got.Mark == sent.Mark && got.StartTime == sent.StartTime && got.EndTime == sent.EndTime &&
           got.Duration == sent.Duration && got.EndMode == sent.EndMode &&
           got.ResultMask == sent.ResultMask && got.TimeMask == sent.TimeMask &&
           got.FileCrc == sent.FileCrc && got.RemoteIP == "127.0.0.1" &&
           got.MaskValues == journal::MaskValuesFromResultMask(sent.ResultMask);
}

}  // namespace quilmo::testing
