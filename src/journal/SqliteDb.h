#pragma once
// A small owner of one SQLite connection and its prepared statements. Every
// failure comes back as an Error carrying SQLite's message (and the system's
// reason when a file operation failed), never as an exception or a crash.
// A connection and its statements belong to one thread at a time.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "model/Expected.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quilmo::journal {

class SqliteStatement {
public:
    SqliteStatement() = default;
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters are numbered from 1. Text and blobs are copied.
    Status Bind(int index, int64_t value);
    Status Bind(int index, int value) { return Bind(index, static_cast<int64_t>(value)); }
    Status Bind(int index, uint32_t value) { return Bind(index, static_cast<int64_t>(value)); }
    Status Bind(int index, double value);
    Status Bind(int index, std::string_view text);
    Status Bind(int index, const char* text) { return Bind(index, std::string_view(text)); }
    Status Bind(int index, const std::string& text) { return Bind(index, std::string_view(text)); }
    Status BindBlob(int index, std::string_view bytes);
    Status BindNull(int index);
    template <class T>
    Status Bind(int index, const std::optional<T>& value)
    {
        return value ? Bind(index, *value) : BindNull(index);
    }

    // Binds every value in order, from parameter 1; stops at the first failure.
    template <class... Values>
    Status BindAll(const Values&... values)
    {
        Status status = Ok();
        int index = 0;
        ((status = status ? Bind(++index, values) : status), ...);
        return status;
    }

    // One step: true when a row is ready to be read, false when done.
    Expected<bool> Step();
    // Steps until done (for statements that return no rows), then resets.
    Status Run();
    // Steps through every row, calling row(*this) for each, then resets.
    template <class Row>
    Status ForEachRow(Row&& row)
    {
        for (;;) {
            auto ready = Step();
            if (!ready)
                return ready.error();
            if (!*ready)
                break;
            row(static_cast<const SqliteStatement&>(*this));
        }
        Reset();
        return Ok();
    }
    // Ready to run again; bindings are kept until ClearBindings.
    void Reset();
    void ClearBindings();

    // Columns of the current row, numbered from 0.
    int64_t ColumnInt(int column) const;
    double ColumnDouble(int column) const;
    std::string ColumnText(int column) const;  // text or blob bytes; "" for NULL
    bool ColumnIsNull(int column) const;
    int ColumnCount() const;

    bool Valid() const { return stmt_ != nullptr; }

private:
    friend class SqliteDb;
    SqliteStatement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    Status Check(int code) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

struct SqliteOpenOptions {
    bool ReadOnly = false;
    bool Create = true;         // create the file when missing (not with ReadOnly)
    int BusyTimeoutMs = 5000;   // how long to wait for another connection's lock
};

class SqliteDb {
public:
    // Opens (or creates) the database file in WAL mode with synchronous=FULL:
    // a committed transaction is on the disk before Commit returns. Foreign
    // keys are enforced.
    static Expected<SqliteDb> Open(const std::string& path, SqliteOpenOptions options = {});

    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(SqliteDb&& other) noexcept;
    SqliteDb& operator=(SqliteDb&& other) noexcept;
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    bool IsOpen() const { return db_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Runs one or more statements that take no parameters.
    Status Exec(std::string_view sql);
    Expected<SqliteStatement> Prepare(std::string_view sql);

    // The value of the first column of the first row, for one-number queries.
    Expected<int64_t> QueryInt(std::string_view sql);

    Status Begin();      // BEGIN IMMEDIATE: takes the write lock at once
    Status Commit();
    Status Rollback();   // a no-op when no transaction is open
    bool InTransaction() const;

    int64_t LastInsertRowId() const;
    int Changes() const;

    // The current error of the connection as the user's message.
    Error LastError() const;

private:
    explicit SqliteDb(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    void Close();

    sqlite3* db_ = nullptr;
    std::string path_;
};

// Rolls its transaction back unless it was committed.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDb& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    // Whether BEGIN succeeded; when not, error() says why.
    bool Started() const { return begun_.has_value(); }
    const Status& BeginStatus() const { return begun_; }
    Status Commit();

private:
    SqliteDb& db_;
    Status begun_;
    bool done_ = false;
};

}  // namespace quilmo::journal
