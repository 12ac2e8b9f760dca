#include "journal/SqliteDb.h"

#include <sqlite3.h>

#include <climits>
#include <utility>

#include "model/FileIO.h"

namespace quilmo::journal {

namespace {

// SQLite's message, with the system's reason when the operating system refused
// a file operation ("unable to open database file (Permission denied)").
Error ErrorOf(sqlite3* db, int code)
{
    if (!db)
        return Error{sqlite3_errstr(code)};
    std::string message = sqlite3_errmsg(db);
    const int err = sqlite3_system_errno(db);
    const int primary = code & 0xFF;
    if (err != 0 && (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR || primary == SQLITE_FULL ||
                     primary == SQLITE_READONLY || primary == SQLITE_PERM))
        message += " (" + SystemErrorText(err) + ")";
    return Error{message};
}

int Length(std::string_view text)
{
    return text.size() > static_cast<size_t>(INT_MAX) ? -1 : static_cast<int>(text.size());
}

}  // namespace

// ---------------------------------------------------------------- statement

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr))
{
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

Status SqliteStatement::Check(int code) const
{
    if (code == SQLITE_OK)
        return Ok();
    return ErrorOf(db_, code);
}

Status SqliteStatement::Bind(int index, int64_t value)
{
    return Check(sqlite3_bind_int64(stmt_, index, value));
}

Status SqliteStatement::Bind(int index, double value)
{
    return Check(sqlite3_bind_double(stmt_, index, value));
}

Status SqliteStatement::Bind(int index, std::string_view text)
{
    const int n = Length(text);
    if (n < 0)
        return Error{sqlite3_errstr(SQLITE_TOOBIG)};
    return Check(sqlite3_bind_text(stmt_, index, text.data(), n, SQLITE_TRANSIENT));
}

Status SqliteStatement::BindBlob(int index, std::string_view bytes)
{
    const int n = Length(bytes);
    if (n < 0)
        return Error{sqlite3_errstr(SQLITE_TOOBIG)};
    // A zero-length blob is still a blob, not NULL.
    static const char empty = 0;
    return Check(sqlite3_bind_blob(stmt_, index, n ? bytes.data() : &empty, n, SQLITE_TRANSIENT));
}

Status SqliteStatement::BindNull(int index)
{
    return Check(sqlite3_bind_null(stmt_, index));
}

Expected<bool> SqliteStatement::Step()
{
    if (!stmt_)
        return Error{sqlite3_errstr(SQLITE_MISUSE)};
    const int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    Error error = ErrorOf(db_, code);
    sqlite3_reset(stmt_);
    return error;
}

Status SqliteStatement::Run()
{
    for (;;) {
        auto row = Step();
        if (!row)
            return row.error();
        if (!*row)
            break;
    }
    Reset();
    return Ok();
}

void SqliteStatement::Reset()
{
    sqlite3_reset(stmt_);
}

void SqliteStatement::ClearBindings()
{
    sqlite3_clear_bindings(stmt_);
}

int64_t SqliteStatement::ColumnInt(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double SqliteStatement::ColumnDouble(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

std::string SqliteStatement::ColumnText(int column) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    if (!data || size <= 0)
        return {};
    return std::string(data, static_cast<size_t>(size));
}

bool SqliteStatement::ColumnIsNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

int SqliteStatement::ColumnCount() const
{
    return sqlite3_column_count(stmt_);
}

// ---------------------------------------------------------------- connection

Expected<SqliteDb> SqliteDb::Open(const std::string& path, SqliteOpenOptions options)
{
    int flags = SQLITE_OPEN_NOMUTEX;
    if (options.ReadOnly)
        flags |= SQLITE_OPEN_READONLY;
    else
        flags |= SQLITE_OPEN_READWRITE | (options.Create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    if (code != SQLITE_OK) {
        Error error = ErrorOf(raw, code);
        sqlite3_close_v2(raw);
        return error;
    }
    SqliteDb db(raw, path);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, options.BusyTimeoutMs);
    // A read-only connection cannot switch the journal mode; it reads a WAL
    // file as it finds it.
    if (!options.ReadOnly) {
        // journal_mode answers with the mode in force: a file system without
        // shared memory may refuse WAL, and then the file is not what we promise.
        auto mode = db.Prepare("PRAGMA journal_mode=WAL");
        if (!mode)
            return mode.error();
        auto row = mode->Step();
        if (!row)
            return row.error();
        if (!*row || mode->ColumnText(0) != "wal")
            return Error{"cannot switch " + path + " to write-ahead logging"};
    }
    if (auto s = db.Exec("PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON"); !s)
        return s.error();
    return db;
}

SqliteDb::~SqliteDb()
{
    Close();
}

SqliteDb::SqliteDb(SqliteDb&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_))
{
}

SqliteDb& SqliteDb::operator=(SqliteDb&& other) noexcept
{
    if (this != &other) {
        Close();
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

void SqliteDb::Close()
{
    // close_v2 waits for statements still alive to be finalized instead of failing.
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

Status SqliteDb::Exec(std::string_view sql)
{
    if (!db_)
        return Error{sqlite3_errstr(SQLITE_MISUSE)};
    const std::string text(sql);
    const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        return ErrorOf(db_, code);
    return Ok();
}

Expected<SqliteStatement> SqliteDb::Prepare(std::string_view sql)
{
    if (!db_)
        return Error{sqlite3_errstr(SQLITE_MISUSE)};
    const int n = Length(sql);
    if (n < 0)
        return Error{sqlite3_errstr(SQLITE_TOOBIG)};
    sqlite3_stmt* stmt = nullptr;
    const int code = sqlite3_prepare_v2(db_, sql.data(), n, &stmt, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return ErrorOf(db_, code);
    }
    if (!stmt)  // only blanks or a comment
        return Error{sqlite3_errstr(SQLITE_MISUSE)};
    return SqliteStatement(db_, stmt);
}

Expected<int64_t> SqliteDb::QueryInt(std::string_view sql)
{
    auto stmt = Prepare(sql);
    if (!stmt)
        return stmt.error();
    auto row = stmt->Step();
    if (!row)
        return row.error();
    return *row ? stmt->ColumnInt(0) : int64_t(0);
}

Status SqliteDb::Begin()
{
    return Exec("BEGIN IMMEDIATE");
}

Status SqliteDb::Commit()
{
    return Exec("COMMIT");
}

Status SqliteDb::Rollback()
{
    if (!InTransaction())
        return Ok();
    return Exec("ROLLBACK");
}

bool SqliteDb::InTransaction() const
{
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

int64_t SqliteDb::LastInsertRowId() const
{
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

int SqliteDb::Changes() const
{
    return db_ ? sqlite3_changes(db_) : 0;
}

Error SqliteDb::LastError() const
{
    return ErrorOf(db_, db_ ? sqlite3_extended_errcode(db_) : SQLITE_MISUSE);
}

// ---------------------------------------------------------------- transaction

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db), begun_(db.Begin())
{
}

SqliteTransaction::~SqliteTransaction()
{
    if (begun_ && !done_)
        db_.Rollback();
}

Status SqliteTransaction::Commit()
{
    if (!begun_)
        return begun_;
    auto status = db_.Commit();
    // A failed COMMIT may leave the transaction open; the destructor rolls it back.
    if (status)
        done_ = true;
    return status;
}

}  // namespace quilmo::journal
