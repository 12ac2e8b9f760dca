#pragma once
// What the listener's workers receive, handed to the window's thread in
// batches: each turn of its event loop takes everything that arrived since the
// last, in order of arrival, instead of one queued call per message.

#include <mutex>
#include <vector>

#include "journal/ResultProtocol.h"

namespace quilmo::journal {

class ReceivedInbox {
public:
    // Any thread. True when the inbox was waiting for nobody: the caller must
    // then have Take called on the window's thread; otherwise a Take is
    // already on its way and will find this event too.
    bool Put(ReceivedEvent&& event);
    // The window's thread: everything put since the last Take, oldest first.
    std::vector<ReceivedEvent> Take();

private:
    std::mutex mutex_;
    std::vector<ReceivedEvent> events_;
    bool takeDue_ = false;
};

}  // namespace quilmo::journal
