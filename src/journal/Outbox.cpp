#include "journal/Outbox.h"

#include "journal/ResultProtocol.h"

namespace quilmo::journal {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The lines of a kept message: each ends with CR LF, and none holds one
// inside (the sender made them so). nullopt for bytes the outbox cannot have
// written.
std::optional<std::vector<std::string>> SplitLines(const std::string& bytes)
{
    if (bytes.empty() || bytes.size() > kMaxMessageBytes)
        return std::nullopt;
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < bytes.size()) {
        const size_t end = bytes.find(kCrLf, from);
        if (end == std::string::npos)
            return std::nullopt;
        lines.push_back(bytes.substr(from, end + kCrLf.size() - from));
        from = end + kCrLf.size();
    }
    return lines;
}

}  // namespace

Expected<Outbox> Outbox::Open(const std::string& path)
{
    auto db = SqliteDb::Open(path);
    if (!db)
        return db.error();
    if (auto made = db->Exec("CREATE TABLE IF NOT EXISTS outbox("
                             "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                             "kept TEXT NOT NULL DEFAULT (datetime('now', 'localtime')), "
                             "bytes BLOB NOT NULL)");
        !made)
        return made.error();
    return Outbox(std::move(*db));
}

Status Outbox::Add(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line;
    auto insert = db_.Prepare("INSERT INTO outbox(bytes) VALUES(?)");
    if (!insert)
        return insert.error();
    if (auto bound = insert->BindBlob(1, bytes); !bound)
        return bound;
    return insert->Run();
}

Expected<int64_t> Outbox::Count()
{
    return db_.QueryInt("SELECT count(*) FROM outbox");
}

Expected<bool> Outbox::Resend(const SendFn& send)
{
    auto next = db_.Prepare("SELECT id, bytes FROM outbox ORDER BY id LIMIT 1");
    auto remove = db_.Prepare("DELETE FROM outbox WHERE id = ?");
    if (!next)
        return next.error();
    if (!remove)
        return remove.error();
    for (;;) {
        auto row = next->Step();
        if (!row)
            return row.error();
        if (!*row)
            return true;  // none left
        const int64_t id = next->ColumnInt(0);
        const auto lines = SplitLines(next->ColumnText(1));
        next->Reset();
        if (lines) {
            const SendOutcome sent = send(*lines);
            if (sent == SendOutcome::NoConnection)
                return false;
            if (sent == SendOutcome::Cut)
                return true;  // kept for the next time; the journal drops what it got
        }
        // Delivered, or no message at all: it goes.
        if (auto bound = remove->Bind(1, id); !bound)
            return bound.error();
        if (auto removed = remove->Run(); !removed)
            return removed.error();
    }
}

}  // namespace quilmo::journal
