#pragma once
// The runner's messages to the journal, and the outbox that keeps the results
// no journal took until they can be sent again.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/Outbox.h"

namespace quilmo {

// What one message's sending leaves to tell the learner.
struct DeliveryReport {
    bool NoJournal = false;  // no connection could be made: "Сервер не найден!"
    std::string NotKept;     // why a result to keep could not be kept; empty when it was
};

class ResultDelivery {
public:
    // outboxPath: the outbox file, opened (and created) on first need.
    explicit ResultDelivery(std::string outboxPath);

    // Opens the outbox when an earlier run left one, so that its results wait.
    void OpenExisting();
    // Sends what waits, oldest first, then the message of these values. A
    // journal that could not be reached for what waits is not tried again at
    // once: one wait is enough. A message to keep that was not delivered goes
    // into the outbox.
    DeliveryReport Send(const std::vector<std::string>& values, bool keepUndelivered,
                        const journal::Outbox::SendFn& send);
    // True once the outbox is open: results may wait.
    bool HasOutbox() const { return Store.has_value(); }
    // Sends what waits, when anything does.
    void ResendWaiting(const journal::Outbox::SendFn& send);
    // Results that wait; 0 without an outbox.
    int64_t Waiting();

private:
    // nullptr when the outbox cannot be opened; OpenError says why.
    journal::Outbox* Open();

    std::string Path;
    std::optional<journal::Outbox> Store;
    std::string OpenError;
};

}  // namespace quilmo
