#pragma once
// What the listener's workers receive, handed to the window's thread in
// batches: each turn of its event loop takes everything that arrived since the
// last, in order of arrival, instead of one queued call per message.

#include <mutex>
#include <vector>

#include "journal/ResultProtocol.h"

namespace quilmo::journal {

template <class Event>
class BatchInbox {
public:
    // Any thread. True when the inbox was waiting for nobody: the caller must
    // then have Take called on the window's thread; otherwise a Take is
    // already on its way and will find this event too.
    bool Put(Event&& event)
    {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
        if (takeDue_)
            return false;
        takeDue_ = true;
        return true;
    }
    // The window's thread: everything put since the last Take, oldest first.
    std::vector<Event> Take()
    {
        std::vector<Event> taken;
        std::lock_guard lock(mutex_);
        taken.swap(events_);
        takeDue_ = false;
        return taken;
    }

private:
    std::mutex mutex_;
    std::vector<Event> events_;
    bool takeDue_ = false;
};

using ReceivedInbox = BatchInbox<ReceivedEvent>;

}  // namespace quilmo::journal
