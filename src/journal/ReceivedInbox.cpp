#include "journal/ReceivedInbox.h"

namespace quilmo::journal {

bool ReceivedInbox::Put(ReceivedEvent&& event)
{
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
    if (takeDue_)
        return false;
    takeDue_ = true;
    return true;
}

std::vector<ReceivedEvent> ReceivedInbox::Take()
{
    std::vector<ReceivedEvent> taken;
    std::lock_guard lock(mutex_);
    taken.swap(events_);
    takeDue_ = false;
    return taken;
}

}  // namespace quilmo::journal
