#pragma once
// The runner's outbox: results that found no journal, kept in a small SQLite
// file beside config.ini and sent again, oldest first, until a journal takes
// them. Only results whose connection was never made (or was cut before every
// line went out) are kept, so a resend never duplicates a delivered result.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "journal/Sender.h"
#include "journal/SqliteDb.h"
#include "model/Expected.h"

namespace quilmo::journal {

inline constexpr const char* kOutboxFileName = "outbox.sqlite";

class Outbox {
public:
    // Opens the file, creating it and its table when missing.
    static Expected<Outbox> Open(const std::string& path);

    // Keeps one message: its lines as they travel, each ended by CR LF.
    Status Add(const std::vector<std::string>& lines);
    // How many messages wait.
    Expected<int64_t> Count();

    // Sends a message's lines; what Deliver does, replaceable in tests.
    using SendFn = std::function<SendOutcome(const std::vector<std::string>& lines)>;
    // Sends the waiting messages, oldest first, each removed once every line
    // was written. Stops at the first one that finds no journal, which then
    // costs no more connects: false means the journal could not be reached.
    Expected<bool> Resend(const SendFn& send);

private:
    explicit Outbox(SqliteDb db) : db_(std::move(db)) {}
    SqliteDb db_;
};

}  // namespace quilmo::journal
