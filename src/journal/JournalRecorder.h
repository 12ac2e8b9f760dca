#pragma once
// Puts what the listener receives into the journal's store before anything
// else sees it. One thread of its own commits whatever has been read since
// its last commit in one transaction (one flush to the disk), so results that
// arrive together share the cost; then it hands each event on, in the order
// stored, and only then lets its connection close.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "journal/JournalStore.h"
#include "journal/Listener.h"

namespace quilmo::journal {

// An event as the store has it.
struct StoredEvent {
    ReceivedEvent Event;
    StoreReceipt Receipt;       // results: the row that holds it
    bool Stored = false;
    std::string StoreError;     // why it is not on the disk, when it is not
};

class JournalRecorder {
public:
    // Called on the recorder's thread, once the event is committed (or could
    // not be stored), never after the recorder is destroyed.
    using Handoff = std::function<void(StoredEvent&&)>;

    // store may be null (no store could be opened): events are then handed on
    // with that reason.
    JournalRecorder(JournalStore* store, Handoff handoff, std::string unavailableReason = {});
    // Stores and hands on what is queued, then stops.
    ~JournalRecorder();
    JournalRecorder(const JournalRecorder&) = delete;
    JournalRecorder& operator=(const JournalRecorder&) = delete;

    // The session (and the run whose table shows new results) events are
    // stored in from now on.
    void SetSession(int64_t session, std::optional<int64_t> shownIn);

    // Any thread: queues the event and returns (waiting only while very many
    // are queued). The hold is released once the event is committed and
    // handed on.
    void Record(ReceivedEvent event, ConnectionHold hold = {});
    // Stores the event in turn with the queued ones and returns it as stored,
    // without handing it on.
    StoredEvent RecordNow(ReceivedEvent event);

    // Transactions committed so far, for tests and figures.
    int64_t Commits();

private:
    struct Entry {
        StoredEvent Event;
        ConnectionHold Hold;
        StoredEvent* Out = nullptr;  // RecordNow's: filled instead of handed on
        bool* Done = nullptr;
    };
    void Run();

    JournalStore* store_;
    Handoff handoff_;
    std::string unavailable_;
    std::mutex mutex_;
    std::condition_variable queued_;  // the thread waits for work
    std::condition_variable room_;    // Record waits while the queue is full
    std::condition_variable done_;    // RecordNow waits for its event
    std::deque<Entry> queue_;
    bool stopping_ = false;
    int64_t session_ = 0;
    std::optional<int64_t> shownIn_;
    int64_t commits_ = 0;
    std::thread thread_;
};

}  // namespace quilmo::journal
