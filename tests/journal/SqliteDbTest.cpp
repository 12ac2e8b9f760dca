// The SQLite connection helper: the durability settings it promises, bytes
// that travel unchanged, transactions that roll back unless committed, and
// failures that come back as messages.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "journal/SqliteDb.h"
#include "model/FileIO.h"
#include "support/TempFolder.h"

namespace quilmo::journal {
namespace {

using testing::TempFolder;

SqliteDb OpenOrFail(const std::string& path, SqliteOpenOptions options = {})
{
    auto db = SqliteDb::Open(path, options);
    if (!db) {
        ADD_FAILURE() << db.error().Message;
        return {};
    }
    return std::move(*db);
}

TEST(SqliteDb, OpensWithWriteAheadLogAndFullSync)
{
    TempFolder dir;
    SqliteDb db = OpenOrFail(dir / "a.sqlite");
    ASSERT_TRUE(db.IsOpen());
    auto mode = db.Prepare("PRAGMA journal_mode");
    ASSERT_TRUE(mode);
    ASSERT_TRUE(*mode->Step());
    EXPECT_EQ(mode->ColumnText(0), "wal");
    EXPECT_EQ(*db.QueryInt("PRAGMA synchronous"), 2);  // FULL
    EXPECT_EQ(*db.QueryInt("PRAGMA foreign_keys"), 1);
    EXPECT_TRUE(FileExists(dir / "a.sqlite"));
}

TEST(SqliteDb, BoundValuesComeBackUnchanged)
{
    TempFolder dir;
    SqliteDb db = OpenOrFail(dir / "a.sqlite");
    ASSERT_TRUE(db.Exec("CREATE TABLE t(i INTEGER, d REAL, s TEXT, b BLOB, n TEXT)"));
    auto insert = db.Prepare("INSERT INTO t VALUES(?, ?, ?, ?, ?)");
    ASSERT_TRUE(insert);
    // Windows-1251 bytes are no valid UTF-8 and a NUL inside a blob must not cut it.
    const std::string cp1251 = "\xC8\xEC\xFF \xE0\xE1\xE2";
    const std::string blob("R\0E\r\nS", 6);
    const std::optional<int64_t> none;
    ASSERT_TRUE(insert->BindAll(int64_t(-4294967296), 0.5, cp1251));
    ASSERT_TRUE(insert->BindBlob(4, blob));
    ASSERT_TRUE(insert->Bind(5, none));
    ASSERT_TRUE(insert->Run());
    EXPECT_EQ(db.LastInsertRowId(), 1);
    EXPECT_EQ(db.Changes(), 1);

    // The statement runs again with the next row's values.
    ASSERT_TRUE(insert->BindAll(int64_t(7), 1.0, std::string(), std::string(), std::string("x")));
    ASSERT_TRUE(insert->Run());

    auto select = db.Prepare("SELECT i, d, s, b, n FROM t ORDER BY rowid");
    ASSERT_TRUE(select);
    ASSERT_TRUE(*select->Step());
    EXPECT_EQ(select->ColumnInt(0), -4294967296);
    EXPECT_EQ(select->ColumnDouble(1), 0.5);
    EXPECT_EQ(select->ColumnText(2), cp1251);
    EXPECT_EQ(select->ColumnText(3), blob);
    EXPECT_TRUE(select->ColumnIsNull(4));
    EXPECT_FALSE(select->ColumnIsNull(3));
    ASSERT_TRUE(*select->Step());
    EXPECT_EQ(select->ColumnInt(0), 7);
    EXPECT_EQ(select->ColumnText(2), "");
    EXPECT_EQ(select->ColumnText(4), "x");
    EXPECT_FALSE(*select->Step());
}

TEST(SqliteDb, TransactionRollsBackUnlessCommitted)
{
    TempFolder dir;
    SqliteDb db = OpenOrFail(dir / "a.sqlite");
    ASSERT_TRUE(db.Exec("CREATE TABLE t(v INTEGER)"));
    {
        SqliteTransaction tx(db);
        ASSERT_TRUE(tx.Started());
        ASSERT_TRUE(db.Exec("INSERT INTO t VALUES(1)"));
        EXPECT_TRUE(db.InTransaction());
    }
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(*db.QueryInt("SELECT count(*) FROM t"), 0);
    {
        SqliteTransaction tx(db);
        ASSERT_TRUE(db.Exec("INSERT INTO t VALUES(2)"));
        ASSERT_TRUE(tx.Commit());
    }
    // Committed means visible to every other connection of the file.
    SqliteDb other = OpenOrFail(dir / "a.sqlite", {.ReadOnly = true});
    EXPECT_EQ(*other.QueryInt("SELECT sum(v) FROM t"), 2);
}

TEST(SqliteDb, FailuresComeBackAsMessages)
{
    TempFolder dir;
    // Nothing to open: no file may appear.
    auto missing = SqliteDb::Open(dir / "none.sqlite", {.ReadOnly = true});
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().Message.find("unable to open"), std::string::npos) << missing.error().Message;
    EXPECT_FALSE(FileExists(dir / "none.sqlite"));

    // A folder that does not exist: the system's reason is part of the text.
    auto noFolder = SqliteDb::Open(dir / "no/such/folder/a.sqlite");
    ASSERT_FALSE(noFolder);
    EXPECT_NE(noFolder.error().Message.find(SystemErrorText(ENOENT)), std::string::npos)
        << noFolder.error().Message;

    // A file that is not a database is not overwritten.
    const std::string junk = dir.Write("junk.sqlite", std::string(4096, 'x'));
    auto notDb = SqliteDb::Open(junk);
    ASSERT_FALSE(notDb);
    EXPECT_NE(notDb.error().Message.find("not a database"), std::string::npos) << notDb.error().Message;
    EXPECT_EQ(dir.Read("junk.sqlite"), std::string(4096, 'x'));

    SqliteDb db = OpenOrFail(dir / "a.sqlite");
    auto bad = db.Prepare("SELEKT 1");
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error().Message.find("syntax error"), std::string::npos) << bad.error().Message;
    EXPECT_FALSE(db.Prepare("  -- nothing "));

    ASSERT_TRUE(db.Exec("CREATE TABLE t(v INTEGER UNIQUE)"));
    ASSERT_TRUE(db.Exec("INSERT INTO t VALUES(1)"));
    auto again = db.Prepare("INSERT INTO t VALUES(?)");
    ASSERT_TRUE(again);
    ASSERT_TRUE(again->Bind(1, 1));
    auto step = again->Step();
    ASSERT_FALSE(step);
    EXPECT_NE(step.error().Message.find("UNIQUE"), std::string::npos) << step.error().Message;
    EXPECT_FALSE(again->Bind(9, 1));  // no such parameter
    // The failed statement can run again with another value.
    ASSERT_TRUE(again->Bind(1, 2));
    EXPECT_TRUE(again->Run());
    EXPECT_EQ(*db.QueryInt("SELECT count(*) FROM t"), 2);
}

TEST(SqliteDb, ReadOnlyConnectionCannotWrite)
{
    TempFolder dir;
    {
        SqliteDb db = OpenOrFail(dir / "a.sqlite");
        ASSERT_TRUE(db.Exec("CREATE TABLE t(v INTEGER)"));
    }
    SqliteDb ro = OpenOrFail(dir / "a.sqlite", {.ReadOnly = true});
    const Status write = ro.Exec("INSERT INTO t VALUES(1)");
    ASSERT_FALSE(write);
    EXPECT_NE(write.error().Message.find("readonly"), std::string::npos) << write.error().Message;
}

}  // namespace
}  // namespace quilmo::journal
