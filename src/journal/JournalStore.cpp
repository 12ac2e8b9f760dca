#include "journal/JournalStore.h"

#include <cstdio>

#include "model/Cp1251.h"

namespace quilmo::journal {

namespace {

constexpr int kSchemaVersion = 1;

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS sessions(
    id      INTEGER PRIMARY KEY,
    run     INTEGER NOT NULL,
    started TEXT NOT NULL,
    stopped TEXT
);
CREATE TABLE IF NOT EXISTS results(
    id              INTEGER PRIMARY KEY,
    session         INTEGER NOT NULL REFERENCES sessions(id),
    source          INTEGER NOT NULL,
    shown_run       INTEGER,
    exported        INTEGER NOT NULL DEFAULT 0,
    removed         INTEGER NOT NULL DEFAULT 0,
    user_name       TEXT NOT NULL,
    comp_name       TEXT NOT NULL,
    comp_user_name  TEXT NOT NULL,
    test_title      TEXT NOT NULL,
    test_file       TEXT NOT NULL,
    total_count     INTEGER NOT NULL,
    asked_count     INTEGER NOT NULL,
    right_count     INTEGER NOT NULL,
    wrong_count     INTEGER NOT NULL,
    not_asked_count INTEGER NOT NULL,
    mark            INTEGER NOT NULL,
    start_time      TEXT NOT NULL,
    end_time        TEXT NOT NULL,
    duration        INTEGER NOT NULL,
    end_mode        INTEGER NOT NULL,
    result_mask     TEXT NOT NULL,
    time_mask       TEXT NOT NULL,
    remote_ip       TEXT NOT NULL,
    received_time   TEXT NOT NULL,
    file_crc        INTEGER NOT NULL,
    UNIQUE(user_name, comp_name, test_file, start_time, end_time, result_mask)
);
CREATE INDEX IF NOT EXISTS results_by_session ON results(session);
CREATE TABLE IF NOT EXISTS messages(
    id        INTEGER PRIMARY KEY,
    session   INTEGER NOT NULL REFERENCES sessions(id),
    time      TEXT NOT NULL,
    comp_name TEXT NOT NULL,
    peer      TEXT NOT NULL,
    user_name TEXT NOT NULL,
    text      TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS rejected(
    id          INTEGER PRIMARY KEY,
    session     INTEGER NOT NULL REFERENCES sessions(id),
    time        TEXT NOT NULL,
    peer        TEXT NOT NULL,
    reason      TEXT NOT NULL,
    first_bytes BLOB NOT NULL
);
)sql";

const char* const kResultColumns =
    "id, session, source, exported, removed, user_name, comp_name, comp_user_name, test_title, "
    "test_file, total_count, asked_count, right_count, wrong_count, not_asked_count, mark, "
    "start_time, end_time, duration, end_mode, result_mask, time_mask, remote_ip, received_time, file_crc";

TDateTime DateTimeColumn(const SqliteStatement& s, int column)
{
    return ParseStoreDateTime(s.ColumnText(column)).value_or(TDateTime{});
}

StoredResult ResultRow(const SqliteStatement& s)
{
    StoredResult stored;
    stored.Id = s.ColumnInt(0);
    stored.Session = s.ColumnInt(1);
    stored.Source = s.ColumnInt(2) == 1 ? ResultSource::Import : ResultSource::Network;
    stored.Exported = s.ColumnInt(3) != 0;
    stored.Removed = s.ColumnInt(4) != 0;
    TTestResult& r = stored.Result;
    r.UserName = s.ColumnText(5);
    r.CompName = s.ColumnText(6);
    r.CompUserName = s.ColumnText(7);
    r.TestTitle = s.ColumnText(8);
    r.TestFile = s.ColumnText(9);
    r.TotalCount = static_cast<int32_t>(s.ColumnInt(10));
    r.AskedCount = static_cast<int32_t>(s.ColumnInt(11));
    r.RightCount = static_cast<int32_t>(s.ColumnInt(12));
    r.WrongCount = static_cast<int32_t>(s.ColumnInt(13));
    r.NotAskedCount = static_cast<int32_t>(s.ColumnInt(14));
    r.Mark = static_cast<int32_t>(s.ColumnInt(15));
    r.StartTime = DateTimeColumn(s, 16);
    r.EndTime = DateTimeColumn(s, 17);
    r.Duration = static_cast<int32_t>(s.ColumnInt(18));
    r.EndMode = static_cast<uint8_t>(s.ColumnInt(19));
    r.ResultMask = s.ColumnText(20);
    r.TimeMask = s.ColumnText(21);
    r.RemoteIP = s.ColumnText(22);
    r.ReceivedTime = DateTimeColumn(s, 23);
    r.FileCrc = static_cast<uint32_t>(s.ColumnInt(24));
    // As the journal builds it from the bytes it received.
    r.MaskValues = MaskValuesFromResultMask(Utf8ToCp1251(r.ResultMask));
    return stored;
}

// Runs a query with its parameters and makes a value of each row.
template <class T, class Row, class... Params>
Expected<std::vector<T>> Collect(SqliteDb& db, std::string_view sql, Row row, const Params&... params)
{
    auto select = db.Prepare(sql);
    if (!select)
        return select.error();
    if (auto s = select->BindAll(params...); !s)
        return s.error();
    std::vector<T> values;
    if (auto s = select->ForEachRow([&](const SqliteStatement& r) { values.push_back(row(r)); }); !s)
        return s.error();
    return values;
}

// The statements one batch of stores needs, prepared once per batch.
struct Inserts {
    SqliteStatement Result, FindResult, Message, Rejection;

    static Expected<Inserts> Prepare(SqliteDb& db)
    {
        Inserts in;
        auto result = db.Prepare(
            "INSERT INTO results(session, source, shown_run, user_name, comp_name, comp_user_name, "
            "test_title, test_file, total_count, asked_count, right_count, wrong_count, not_asked_count, "
            "mark, start_time, end_time, duration, end_mode, result_mask, time_mask, remote_ip, "
            "received_time, file_crc) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) "
            "ON CONFLICT DO NOTHING");
        auto find = db.Prepare(
            "SELECT id FROM results WHERE user_name=? AND comp_name=? AND test_file=? AND start_time=? "
            "AND end_time=? AND result_mask=?");
        auto message = db.Prepare(
            "INSERT INTO messages(session, time, comp_name, peer, user_name, text) VALUES(?,?,?,?,?,?)");
        auto rejection = db.Prepare(
            "INSERT INTO rejected(session, time, peer, reason, first_bytes) VALUES(?,?,?,?,?)");
        for (auto* s : {&result, &find, &message, &rejection})
            if (!*s)
                return s->error();
        in.Result = std::move(*result);
        in.FindResult = std::move(*find);
        in.Message = std::move(*message);
        in.Rejection = std::move(*rejection);
        return in;
    }

    // A result the store held already keeps its row and its flags.
    Expected<StoreReceipt> AddResult(SqliteDb& db, int64_t session, const TTestResult& r, ResultSource source,
                                     std::optional<int64_t> shownIn)
    {
        const std::string start = StoreDateTime(r.StartTime), end = StoreDateTime(r.EndTime);
        Status bound = Result.BindAll(session, static_cast<int64_t>(source), shownIn, r.UserName, r.CompName,
                                      r.CompUserName, r.TestTitle, r.TestFile, r.TotalCount, r.AskedCount,
                                      r.RightCount, r.WrongCount, r.NotAskedCount, r.Mark, start, end,
                                      r.Duration, static_cast<int64_t>(r.EndMode), r.ResultMask, r.TimeMask,
                                      r.RemoteIP, StoreDateTime(r.ReceivedTime), r.FileCrc);
        if (!bound)
            return bound.error();
        if (auto s = Result.Run(); !s)
            return s.error();
        if (db.Changes() > 0)
            return StoreReceipt{db.LastInsertRowId(), true};
        // The same result is there already: its row stands for this one too.
        if (auto s = FindResult.BindAll(r.UserName, r.CompName, r.TestFile, start, end, r.ResultMask); !s)
            return s.error();
        auto row = FindResult.Step();
        if (!row)
            return row.error();
        const int64_t id = *row ? FindResult.ColumnInt(0) : 0;
        FindResult.Reset();
        return StoreReceipt{id, false};
    }
};

}  // namespace

std::string StoreDateTime(const TDateTime& dt)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", dt.Year, dt.Month, dt.Day, dt.Hour,
                  dt.Minute, dt.Second, dt.Millisecond);
    return text;
}

std::optional<TDateTime> ParseStoreDateTime(std::string_view text)
{
    TDateTime dt;
    const std::string s(text);
    int used = 0;
    if (std::sscanf(s.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3d%n", &dt.Year, &dt.Month, &dt.Day, &dt.Hour,
                    &dt.Minute, &dt.Second, &dt.Millisecond, &used) != 7 ||
        static_cast<size_t>(used) != s.size())
        return std::nullopt;
    return dt;
}

Expected<std::unique_ptr<JournalStore>> JournalStore::Open(const std::string& path, bool readOnly, bool create)
{
    SqliteOpenOptions options;
    options.ReadOnly = readOnly;
    options.Create = create;
    auto db = SqliteDb::Open(path, options);
    if (!db)
        return db.error();
    std::unique_ptr<JournalStore> store(new JournalStore(std::move(*db)));
    if (!readOnly) {
        if (auto s = store->CreateSchema(); !s)
            return s.error();
    } else {
        auto version = store->db_.QueryInt("PRAGMA user_version");
        if (!version)
            return version.error();
        if (*version != kSchemaVersion)
            return Error{path + ": not a journal store"};
    }
    return store;
}

Status JournalStore::CreateSchema()
{
    auto version = db_.QueryInt("PRAGMA user_version");
    if (!version)
        return version.error();
    if (*version == kSchemaVersion)
        return Ok();
    if (*version != 0)
        return Error{db_.Path() + ": a journal store of a newer version"};
    SqliteTransaction tx(db_);
    if (!tx.Started())
        return tx.BeginStatus();
    if (auto s = db_.Exec(kSchema); !s)
        return s;
    if (auto s = db_.Exec("PRAGMA user_version=" + std::to_string(kSchemaVersion)); !s)
        return s;
    return tx.Commit();
}

Expected<StoredSession> JournalStore::BeginSession(const TDateTime& now, std::optional<int64_t> run)
{
    std::lock_guard lock(mutex_);
    SqliteTransaction tx(db_);
    if (!tx.Started())
        return tx.BeginStatus().error();
    auto insert = db_.Prepare("INSERT INTO sessions(run, started) VALUES(coalesce(?, 0), ?)");
    if (!insert)
        return insert.error();
    if (auto s = insert->BindAll(run, StoreDateTime(now)); !s || !(s = insert->Run()))
        return s.error();
    StoredSession session;
    session.Id = db_.LastInsertRowId();
    session.Run = run.value_or(session.Id);
    session.Started = now;
    if (!run) {
        auto update = db_.Prepare("UPDATE sessions SET run=id WHERE id=?");
        if (!update)
            return update.error();
        if (auto s = update->Bind(1, session.Id); !s || !(s = update->Run()))
            return s.error();
    }
    if (auto s = tx.Commit(); !s)
        return s.error();
    return session;
}

Status JournalStore::EndSession(int64_t session, const TDateTime& now)
{
    std::lock_guard lock(mutex_);
    auto update = db_.Prepare("UPDATE sessions SET stopped=? WHERE id=?");
    if (!update)
        return update.error();
    if (auto s = update->BindAll(StoreDateTime(now), session); !s)
        return s;
    return update->Run();
}

Expected<std::vector<StoreReceipt>> JournalStore::Record(int64_t session,
                                                         const std::vector<const ReceivedEvent*>& events,
                                                         std::optional<int64_t> shownIn)
{
    std::lock_guard lock(mutex_);
    auto in = Inserts::Prepare(db_);
    if (!in)
        return in.error();
    SqliteTransaction tx(db_);
    if (!tx.Started())
        return tx.BeginStatus().error();
    std::vector<StoreReceipt> receipts;
    receipts.reserve(events.size());
    for (const ReceivedEvent* e : events) {
        using Kind = ReceivedEvent::Kind;
        if (e->kind == Kind::Result) {
            auto receipt = in->AddResult(db_, session, e->Result, ResultSource::Network, shownIn);
            if (!receipt)
                return receipt.error();
            receipts.push_back(*receipt);
            continue;
        }
        Status s = Ok();
        if (e->kind == Kind::Message) {
            s = in->Message.BindAll(session, StoreDateTime(e->Time), e->CompName, e->PeerAddress, e->UserName,
                                    e->Text);
            if (s)
                s = in->Message.Run();
        } else {
            s = in->Rejection.BindAll(session, StoreDateTime(e->Time), e->PeerAddress, e->Reason);
            if (s)
                s = in->Rejection.BindBlob(5, e->FirstBytes);
            if (s)
                s = in->Rejection.Run();
        }
        if (!s)
            return s.error();
        receipts.push_back({});
    }
    if (auto s = tx.Commit(); !s)
        return s.error();
    return receipts;
}

Expected<std::vector<StoreReceipt>> JournalStore::AddResults(int64_t session, const std::vector<TTestResult>& results,
                                                             ResultSource source, std::optional<int64_t> shownIn)
{
    std::lock_guard lock(mutex_);
    auto in = Inserts::Prepare(db_);
    if (!in)
        return in.error();
    SqliteTransaction tx(db_);
    if (!tx.Started())
        return tx.BeginStatus().error();
    std::vector<StoreReceipt> receipts;
    receipts.reserve(results.size());
    for (const TTestResult& r : results) {
        auto receipt = in->AddResult(db_, session, r, source, shownIn);
        if (!receipt)
            return receipt.error();
        receipts.push_back(*receipt);
    }
    if (auto s = tx.Commit(); !s)
        return s.error();
    return receipts;
}

Expected<std::vector<StoredSession>> JournalStore::Sessions()
{
    std::lock_guard lock(mutex_);
    return Collect<StoredSession>(
        db_,
        "SELECT s.id, s.run, s.started, s.stopped, "
        "(SELECT count(*) FROM results r WHERE r.session = s.id), "
        "(SELECT count(*) FROM results r WHERE r.session = s.id AND r.exported = 0 AND r.removed = 0) "
        "FROM sessions s ORDER BY s.id",
        [](const SqliteStatement& row) {
            StoredSession s;
            s.Id = row.ColumnInt(0);
            s.Run = row.ColumnInt(1);
            s.Started = DateTimeColumn(row, 2);
            if (!row.ColumnIsNull(3))
                s.Stopped = DateTimeColumn(row, 3);
            s.Results = row.ColumnInt(4);
            s.Unexported = row.ColumnInt(5);
            return s;
        });
}

Expected<std::vector<StoredResult>> JournalStore::Results(std::optional<int64_t> session)
{
    std::lock_guard lock(mutex_);
    return Collect<StoredResult>(
        db_, std::string("SELECT ") + kResultColumns + " FROM results WHERE ?1 IS NULL OR session = ?1 ORDER BY id",
        ResultRow, session);
}

Expected<std::vector<StoredMessage>> JournalStore::Messages(int64_t session)
{
    std::lock_guard lock(mutex_);
    return Collect<StoredMessage>(
        db_, "SELECT session, time, comp_name, peer, user_name, text FROM messages WHERE session=? ORDER BY id",
        [](const SqliteStatement& row) {
            return StoredMessage{row.ColumnInt(0), DateTimeColumn(row, 1), row.ColumnText(2), row.ColumnText(3),
                                 row.ColumnText(4), row.ColumnText(5)};
        },
        session);
}

Expected<std::vector<StoredRejection>> JournalStore::Rejections(int64_t session)
{
    std::lock_guard lock(mutex_);
    return Collect<StoredRejection>(
        db_, "SELECT session, time, peer, reason, first_bytes FROM rejected WHERE session=? ORDER BY id",
        [](const SqliteStatement& row) {
            return StoredRejection{row.ColumnInt(0), DateTimeColumn(row, 1), row.ColumnText(2), row.ColumnText(3),
                                   row.ColumnText(4)};
        },
        session);
}

Expected<std::optional<RestoreOffer>> JournalStore::PendingRestore(int64_t currentRun)
{
    std::lock_guard lock(mutex_);
    RestoreOffer offer;
    bool first = true;
    auto results = Collect<StoredResult>(
        db_,
        std::string("SELECT ") + kResultColumns +
            ", (SELECT started FROM sessions s WHERE s.id = results.session) FROM results "
            "WHERE shown_run IS NOT NULL AND shown_run <> ? AND exported = 0 AND removed = 0 ORDER BY id",
        [&offer, &first](const SqliteStatement& row) {
            if (first)
                offer.Started = DateTimeColumn(row, 25);
            first = false;
            return ResultRow(row);
        },
        currentRun);
    if (!results)
        return results.error();
    if (results->empty())
        return std::optional<RestoreOffer>();
    offer.Results = std::move(*results);
    return std::optional<RestoreOffer>(std::move(offer));
}

Status JournalStore::SetForEach(const char* sql, const std::vector<int64_t>& ids, std::optional<int64_t> value)
{
    std::lock_guard lock(mutex_);
    auto update = db_.Prepare(sql);
    if (!update)
        return update.error();
    SqliteTransaction tx(db_);
    if (!tx.Started())
        return tx.BeginStatus();
    for (const int64_t id : ids) {
        Status s = value ? update->BindAll(*value, id) : update->BindAll(id);
        if (s)
            s = update->Run();
        if (!s)
            return s;
    }
    return tx.Commit();
}

Status JournalStore::SetShownIn(const std::vector<int64_t>& ids, std::optional<int64_t> run)
{
    if (run)
        return SetForEach("UPDATE results SET shown_run=?, exported=0, removed=0 WHERE id=?", ids, run);
    return SetForEach("UPDATE results SET shown_run=NULL WHERE id=?", ids, std::nullopt);
}

Status JournalStore::MarkExported(const std::vector<int64_t>& ids)
{
    return SetForEach("UPDATE results SET exported=1 WHERE id=?", ids, std::nullopt);
}

Status JournalStore::MarkRemoved(int64_t id)
{
    return SetForEach("UPDATE results SET removed=1 WHERE id=?", {id}, std::nullopt);
}

}  // namespace quilmo::journal
