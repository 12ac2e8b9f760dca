#pragma once
// Puts what the listener receives into the journal's store before anything
// else sees it. Workers that finish reading at about the same moment share one
// transaction (one flush to the disk), and each event is handed on only once
// its transaction has committed, in the order the events were stored.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "journal/JournalStore.h"

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
    using Handoff = std::function<void(StoredEvent&&)>;

    // store may be null (no store could be opened): events are then handed on
    // at once, with the reason.
    JournalRecorder(JournalStore* store, std::string unavailableReason = {});

    // The session (and the run whose table shows new results) events are
    // stored in from now on.
    void SetSession(int64_t session, std::optional<int64_t> shownIn);

    // Any thread: stores the event, hands it to `handoff` and returns. Returns
    // only once the event is committed and handed on, so a connection closed
    // after it tells its peer the result is safe.
    void Record(ReceivedEvent event, const Handoff& handoff);

private:
    struct Ticket {
        StoredEvent* Event;
        const Handoff* Pass;
        bool Done = false;
    };

    JournalStore* store_;
    std::string unavailable_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<Ticket*> queue_;
    bool committing_ = false;
    int64_t session_ = 0;
    std::optional<int64_t> shownIn_;
};

}  // namespace quilmo::journal
