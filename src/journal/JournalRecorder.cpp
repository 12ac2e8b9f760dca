#include "journal/JournalRecorder.h"

#include <vector>

namespace quilmo::journal {

JournalRecorder::JournalRecorder(JournalStore* store, std::string unavailableReason)
    : store_(store), unavailable_(std::move(unavailableReason))
{
}

void JournalRecorder::SetSession(int64_t session, std::optional<int64_t> shownIn)
{
    std::lock_guard lock(mutex_);
    session_ = session;
    shownIn_ = shownIn;
}

void JournalRecorder::Record(ReceivedEvent event, const Handoff& handoff)
{
    StoredEvent stored{std::move(event), {}, false, {}};
    Ticket ticket{&stored, &handoff};
    std::unique_lock lock(mutex_);
    queue_.push_back(&ticket);
    while (!ticket.Done) {
        if (committing_) {
            done_.wait(lock);
            continue;
        }
        // This thread commits for everyone waiting, its own event included.
        committing_ = true;
        std::vector<Ticket*> batch(queue_.begin(), queue_.end());
        queue_.clear();
        const int64_t session = session_;
        const std::optional<int64_t> shownIn = shownIn_;
        lock.unlock();

        std::vector<const ReceivedEvent*> events;
        events.reserve(batch.size());
        for (const Ticket* t : batch)
            events.push_back(&t->Event->Event);
        if (!store_) {
            for (Ticket* t : batch)
                t->Event->StoreError = unavailable_;
        } else if (auto receipts = store_->Record(session, events, shownIn); !receipts) {
            for (Ticket* t : batch)
                t->Event->StoreError = receipts.error().Message;
        } else {
            for (size_t i = 0; i < batch.size(); ++i) {
                batch[i]->Event->Receipt = (*receipts)[i];
                batch[i]->Event->Stored = true;
            }
        }
        // Handed on in the order stored; the next batch waits until this one
        // is through, so the order holds across batches too.
        for (Ticket* t : batch)
            (*t->Pass)(std::move(*t->Event));

        lock.lock();
        for (Ticket* t : batch)
            t->Done = true;
        committing_ = false;
        done_.notify_all();
    }
}

}  // namespace quilmo::journal
