#include "journal/JournalRecorder.h"

#include <vector>

namespace quilmo::journal {

namespace {

// Results read while a commit is under way wait for the next one; past this
// many, the readers wait too, so a stalled disk cannot exhaust memory.
constexpr size_t kMaxQueued = 4096;

}  // namespace

JournalRecorder::JournalRecorder(JournalStore* store, Handoff handoff, std::string unavailableReason)
    : store_(store), handoff_(std::move(handoff)), unavailable_(std::move(unavailableReason))
{
    thread_ = std::thread(&JournalRecorder::Run, this);
}

JournalRecorder::~JournalRecorder()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_all();
    thread_.join();
}

void JournalRecorder::SetSession(int64_t session, std::optional<int64_t> shownIn)
{
    std::lock_guard lock(mutex_);
    session_ = session;
    shownIn_ = shownIn;
}

int64_t JournalRecorder::Commits()
{
    std::lock_guard lock(mutex_);
    return commits_;
}

void JournalRecorder::Record(ReceivedEvent event, ConnectionHold hold)
{
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return queue_.size() < kMaxQueued || stopping_; });
    queue_.push_back(Entry{StoredEvent{std::move(event), {}, false, {}}, std::move(hold)});
    queued_.notify_one();
}

StoredEvent JournalRecorder::RecordNow(ReceivedEvent event)
{
    StoredEvent out;
    bool done = false;
    std::unique_lock lock(mutex_);
    queue_.push_back(Entry{StoredEvent{std::move(event), {}, false, {}}, {}, &out, &done});
    queued_.notify_one();
    done_.wait(lock, [&done] { return done; });
    return out;
}

void JournalRecorder::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            return;  // stopping, and everything stored
        // Everything read since the last commit goes into this one.
        std::vector<Entry> batch;
        batch.reserve(queue_.size());
        for (Entry& e : queue_)
            batch.push_back(std::move(e));
        queue_.clear();
        room_.notify_all();
        const int64_t session = session_;
        const std::optional<int64_t> shownIn = shownIn_;
        lock.unlock();

        std::vector<const ReceivedEvent*> events;
        events.reserve(batch.size());
        for (const Entry& e : batch)
            events.push_back(&e.Event.Event);
        bool committed = false;
        if (!store_) {
            for (Entry& e : batch)
                e.Event.StoreError = unavailable_;
        } else if (auto receipts = store_->Record(session, events, shownIn); !receipts) {
            for (Entry& e : batch)
                e.Event.StoreError = receipts.error().Message;
        } else {
            committed = true;
            for (size_t i = 0; i < batch.size(); ++i) {
                batch[i].Event.Receipt = (*receipts)[i];
                batch[i].Event.Stored = true;
            }
        }
        // In the order stored; each connection closes only after its event
        // is on the disk and handed on.
        for (Entry& e : batch) {
            if (e.Out)
                *e.Out = std::move(e.Event);
            else if (handoff_)
                handoff_(std::move(e.Event));
            e.Hold.Release();
        }

        lock.lock();
        if (committed)
            ++commits_;
        for (Entry& e : batch)
            if (e.Done)
                *e.Done = true;
        done_.notify_all();
    }
}

}  // namespace quilmo::journal
