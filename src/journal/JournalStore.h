#pragma once
// The journal's store, journal.sqlite: every result the journal receives or
// imports, every message, every rejected message, and the journal sessions
// (each opening of the journal window) they arrived in. A result is on the
// disk before the journal shows it, so a crash loses nothing that was shown.
//
// One store object may be shared by threads: each call holds its lock.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "journal/ResultProtocol.h"
#include "journal/SqliteDb.h"
#include "model/Expected.h"
#include "model/Regional.h"

namespace quilmo::journal {

inline constexpr const char* kStoreFileName = "journal.sqlite";

enum class ResultSource { Network = 0, Import = 1 };

struct StoredSession {
    int64_t Id = 0;
    int64_t Run = 0;                     // the first session of the same program run
    TDateTime Started;
    std::optional<TDateTime> Stopped;    // none while open, or when the program died
    int64_t Results = 0;
    int64_t Unexported = 0;
};

struct StoredResult {
    int64_t Id = 0;
    int64_t Session = 0;
    ResultSource Source = ResultSource::Network;
    bool Exported = false;
    bool Removed = false;                // deleted from the journal's table
    TTestResult Result;
};

struct StoredMessage {
    int64_t Session = 0;
    TDateTime Time;
    std::string CompName, PeerAddress, UserName, Text;
};

struct StoredRejection {
    int64_t Session = 0;
    TDateTime Time;
    std::string PeerAddress, Reason;
    std::string FirstBytes;              // as received
};

// What storing one result did: the row that holds it, and whether it is new
// (false: the store already held the same result, see SameResult).
struct StoreReceipt {
    int64_t Id = 0;
    bool Added = false;
};

// Results a program run showed and nobody exported: what the journal offers
// to restore when it is opened again.
struct RestoreOffer {
    TDateTime Started;                   // the start of that run's first session
    std::vector<StoredResult> Results;   // in the order they arrived
};

class JournalStore {
public:
    // Opens the store, creating it (and its tables) when missing unless
    // create is false. A read-only store must exist already.
    static Expected<std::unique_ptr<JournalStore>> Open(const std::string& path, bool readOnly = false,
                                                        bool create = true);

    // A new journal session; run is the program run's first session, or none
    // to start a run with this one.
    Expected<StoredSession> BeginSession(const TDateTime& now, std::optional<int64_t> run = std::nullopt);
    Status EndSession(int64_t session, const TDateTime& now);

    // Stores each event in one transaction: a result (once: a result the
    // store holds already keeps its row), a message, or a rejected message.
    // A receipt per event, in order; messages and rejections get Id 0. New
    // results count as shown in the table of `shownIn` (a run; none: no
    // table); one the store held already keeps its row and its flags.
    Expected<std::vector<StoreReceipt>> Record(int64_t session, const std::vector<const ReceivedEvent*>& events,
                                               std::optional<int64_t> shownIn);
    Expected<std::vector<StoreReceipt>> AddResults(int64_t session, const std::vector<TTestResult>& results,
                                                   ResultSource source, std::optional<int64_t> shownIn);

    // Every session, oldest first, with its counts.
    Expected<std::vector<StoredSession>> Sessions();
    // One session's results, or all of them (none), in the order they arrived.
    Expected<std::vector<StoredResult>> Results(std::optional<int64_t> session = std::nullopt);
    Expected<std::vector<StoredMessage>> Messages(int64_t session);
    Expected<std::vector<StoredRejection>> Rejections(int64_t session);

    // What earlier runs showed and left unexported (and not deleted): none
    // when there is nothing.
    Expected<std::optional<RestoreOffer>> PendingRestore(int64_t currentRun);

    // The results are in the table of `run` (received, imported or restored
    // there) and not yet exported from it; none: in no table, never offered
    // again.
    Status SetShownIn(const std::vector<int64_t>& ids, std::optional<int64_t> run);
    Status MarkExported(const std::vector<int64_t>& ids);
    Status MarkRemoved(int64_t id);

    const std::string& Path() const { return db_.Path(); }

private:
    explicit JournalStore(SqliteDb db) : db_(std::move(db)) {}
    Status CreateSchema();
    Status SetForEach(const char* sql, const std::vector<int64_t>& ids, std::optional<int64_t> value);

    std::mutex mutex_;
    SqliteDb db_;
};

// "yyyy-mm-dd hh:nn:ss.zzz", the store's form of a date-time, which sorts as
// it reads; and back.
std::string StoreDateTime(const TDateTime& dt);
std::optional<TDateTime> ParseStoreDateTime(std::string_view text);

}  // namespace quilmo::journal
