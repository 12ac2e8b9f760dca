// The journal's store: results, messages and rejected messages kept intact and
// once, sessions with their counts, what is offered for restoring, and the
// recorder that commits before it hands anything on.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <thread>

#include "journal/JournalRecorder.h"
#include "journal/JournalStore.h"
#include "journal/SqliteDb.h"
#include "model/FileIO.h"
#include "support/TempFolder.h"

namespace quilmo::journal {
namespace {

using testing::TempFolder;

TTestResult Sample(const std::string& user, int minute = 15)
{
    TTestResult r;
    r.UserName = user;
    r.CompName = "КЛАСС-07";
    r.CompUserName = "pupil";
    r.TestTitle = "Дроби \"1\"";
    r.TestFile = "/srv/Дроби.tst";
    r.TotalCount = 10;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.WrongCount = 1;
    r.NotAskedCount = 7;
    r.Mark = -4;
    r.StartTime = {2024, 3, 5, 9, minute, 2, 0};
    r.EndTime = {2024, 3, 5, 10, 17, 7, 0};
    r.Duration = 3725;
    r.EndMode = 255;
    r.ResultMask = "++-*x";
    r.MaskValues = MaskValuesFromResultMask(r.ResultMask);
    r.TimeMask = "1;2;3;0;0";
    r.RemoteIP = "10.0.0.3";
    r.ReceivedTime = {2024, 3, 5, 10, 17, 9, 123};
    r.FileCrc = 4294967295u;
    return r;
}

ReceivedEvent ResultEvent(const TTestResult& r)
{
    ReceivedEvent e;
    e.kind = ReceivedEvent::Kind::Result;
    e.Result = r;
    return e;
}

std::unique_ptr<JournalStore> OpenStore(const std::string& path, bool readOnly = false)
{
    auto store = JournalStore::Open(path, readOnly);
    if (!store) {
        ADD_FAILURE() << store.error().Message;
        return nullptr;
    }
    return std::move(*store);
}

const TDateTime kStart{2024, 3, 5, 9, 0, 0, 0};

TEST(JournalStore, ResultsComeBackIntactAndOnce)
{
    TempFolder dir;
    auto store = OpenStore(dir / kStoreFileName);
    ASSERT_TRUE(store);
    const auto session = store->BeginSession(kStart);
    ASSERT_TRUE(session);
    const ReceivedEvent a = ResultEvent(Sample("Иванов")), b = ResultEvent(Sample("Петров"));
    auto first = store->Record(session->Id, {&a, &b}, session->Run);
    ASSERT_TRUE(first) << first.error().Message;
    ASSERT_EQ(first->size(), 2u);
    EXPECT_TRUE((*first)[0].Added);
    EXPECT_TRUE((*first)[1].Added);
    EXPECT_NE((*first)[0].Id, (*first)[1].Id);

    // The same result again (another receipt time, another address): one row.
    ReceivedEvent again = a;
    again.Result.ReceivedTime.Minute = 40;
    again.Result.RemoteIP = "10.0.0.9";
    auto second = store->Record(session->Id, {&again}, session->Run);
    ASSERT_TRUE(second);
    EXPECT_FALSE((*second)[0].Added);
    EXPECT_EQ((*second)[0].Id, (*first)[0].Id);

    store.reset();  // and from the disk, by a fresh connection
    store = OpenStore(dir / kStoreFileName, true);
    ASSERT_TRUE(store);
    const auto results = store->Results(session->Id);
    ASSERT_TRUE(results);
    ASSERT_EQ(results->size(), 2u);
    EXPECT_EQ((*results)[0].Result, a.Result);
    EXPECT_EQ((*results)[1].Result, b.Result);
    EXPECT_EQ((*results)[0].Source, ResultSource::Network);
    EXPECT_FALSE((*results)[0].Exported);
}

TEST(JournalStore, MessagesAndRejectionsAreKept)
{
    TempFolder dir;
    auto store = OpenStore(dir / kStoreFileName);
    ASSERT_TRUE(store);
    const auto session = store->BeginSession(kStart);
    ASSERT_TRUE(session);
    ReceivedEvent message;
    message.kind = ReceivedEvent::Kind::Message;
    message.Time = {2024, 3, 5, 9, 1, 0, 0};
    message.CompName = "PC-3";
    message.PeerAddress = "10.0.0.3";
    message.UserName = "Иванов";
    message.Text = "Начат тест";
    ReceivedEvent rejected;
    rejected.Time = {2024, 3, 5, 9, 2, 0, 0};
    rejected.PeerAddress = "10.0.0.4";
    rejected.Reason = "неверное значение в строке 5 (оценка)";
    rejected.FirstBytes = std::string("RESULT\r\n\xC8\0x", 11);
    ASSERT_TRUE(store->Record(session->Id, {&message, &rejected}, session->Run));

    const auto messages = store->Messages(session->Id);
    ASSERT_TRUE(messages);
    ASSERT_EQ(messages->size(), 1u);
    EXPECT_EQ((*messages)[0].Time, message.Time);
    EXPECT_EQ((*messages)[0].CompName, "PC-3");
    EXPECT_EQ((*messages)[0].PeerAddress, "10.0.0.3");
    EXPECT_EQ((*messages)[0].UserName, "Иванов");
    EXPECT_EQ((*messages)[0].Text, "Начат тест");
    const auto rejections = store->Rejections(session->Id);
    ASSERT_TRUE(rejections);
    ASSERT_EQ(rejections->size(), 1u);
    EXPECT_EQ((*rejections)[0].Time, rejected.Time);
    EXPECT_EQ((*rejections)[0].PeerAddress, "10.0.0.4");
    EXPECT_EQ((*rejections)[0].Reason, rejected.Reason);
    EXPECT_EQ((*rejections)[0].FirstBytes, rejected.FirstBytes);
    EXPECT_TRUE(store->Results(session->Id)->empty());
}

TEST(JournalStore, SessionsWithTheirCountsInOrder)
{
    TempFolder dir;
    auto store = OpenStore(dir / kStoreFileName);
    ASSERT_TRUE(store);
    const auto one = store->BeginSession(kStart);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->Run, one->Id);
    ASSERT_TRUE(store->AddResults(one->Id, {Sample("A"), Sample("B"), Sample("C")}, ResultSource::Import,
                                  one->Run));
    ASSERT_TRUE(store->EndSession(one->Id, {2024, 3, 5, 9, 45, 0, 0}));
    const auto two = store->BeginSession({2024, 3, 5, 10, 0, 0, 0}, one->Run);  // same program run
    ASSERT_TRUE(two);
    EXPECT_EQ(two->Run, one->Run);
    ASSERT_TRUE(store->AddResults(two->Id, {Sample("D")}, ResultSource::Network, two->Run));

    const auto all = store->Results();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 4u);
    ASSERT_TRUE(store->MarkExported({(*all)[0].Id}));
    ASSERT_TRUE(store->MarkRemoved((*all)[1].Id));

    const auto sessions = store->Sessions();
    ASSERT_TRUE(sessions);
    ASSERT_EQ(sessions->size(), 2u);
    EXPECT_EQ((*sessions)[0].Started, kStart);
    EXPECT_EQ((*sessions)[0].Stopped, (TDateTime{2024, 3, 5, 9, 45, 0, 0}));
    EXPECT_EQ((*sessions)[0].Results, 3);
    EXPECT_EQ((*sessions)[0].Unexported, 1);  // C: A is exported, B deleted
    EXPECT_FALSE((*sessions)[1].Stopped);
    EXPECT_EQ((*sessions)[1].Results, 1);
    EXPECT_EQ((*sessions)[1].Unexported, 1);
    EXPECT_EQ((*all)[0].Source, ResultSource::Import);
    EXPECT_EQ((*all)[3].Result.UserName, "D");
    EXPECT_EQ((*all)[3].Session, two->Id);
}

TEST(JournalStore, OffersWhatEarlierRunsShowedAndNobodyExported)
{
    TempFolder dir;
    auto store = OpenStore(dir / kStoreFileName);
    ASSERT_TRUE(store);
    const auto crashed = store->BeginSession(kStart);
    ASSERT_TRUE(crashed);
    auto ids = store->AddResults(crashed->Id, {Sample("A"), Sample("B"), Sample("C"), Sample("D")},
                                 ResultSource::Network, crashed->Run);
    ASSERT_TRUE(ids);
    ASSERT_TRUE(store->MarkExported({(*ids)[1].Id}));
    ASSERT_TRUE(store->MarkRemoved((*ids)[2].Id));
    // Imported without a table: never offered.
    ASSERT_TRUE(store->AddResults(crashed->Id, {Sample("E")}, ResultSource::Import, std::nullopt));

    // The run itself is offered nothing.
    EXPECT_FALSE(*store->PendingRestore(crashed->Run));

    const auto next = store->BeginSession({2024, 3, 6, 8, 0, 0, 0});
    ASSERT_TRUE(next);
    auto offer = store->PendingRestore(next->Run);
    ASSERT_TRUE(offer);
    ASSERT_TRUE(*offer);
    EXPECT_EQ((*offer)->Started, kStart);
    ASSERT_EQ((*offer)->Results.size(), 2u);
    EXPECT_EQ((*offer)->Results[0].Result.UserName, "A");
    EXPECT_EQ((*offer)->Results[1].Result.UserName, "D");

    // Restored into the next run's table: the next run owns them and a third
    // run is offered them again should that one die too.
    std::vector<int64_t> offered = {(*offer)->Results[0].Id, (*offer)->Results[1].Id};
    ASSERT_TRUE(store->SetShownIn(offered, next->Run));
    EXPECT_FALSE(*store->PendingRestore(next->Run));
    const auto third = store->BeginSession({2024, 3, 7, 8, 0, 0, 0});
    ASSERT_TRUE(third);
    EXPECT_EQ((*store->PendingRestore(third->Run))->Results.size(), 2u);

    // Declined: left in the store only, never offered again.
    ASSERT_TRUE(store->SetShownIn(offered, std::nullopt));
    EXPECT_FALSE(*store->PendingRestore(third->Run));
    EXPECT_EQ(store->Results()->size(), 5u);
}

TEST(JournalStore, RefusesWhatIsNoStore)
{
    TempFolder dir;
    {
        auto db = SqliteDb::Open(dir / "other.sqlite");
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->Exec("CREATE TABLE t(x); PRAGMA user_version=7"));
    }
    const auto other = JournalStore::Open(dir / "other.sqlite");
    ASSERT_FALSE(other);
    EXPECT_NE(other.error().Message.find("newer version"), std::string::npos) << other.error().Message;
    EXPECT_FALSE(JournalStore::Open(dir / "missing.sqlite", true));
    EXPECT_FALSE(FileExists(dir / "missing.sqlite"));
}

TEST(JournalStore, DateTimesTravelExactly)
{
    for (const TDateTime& dt : {TDateTime{2024, 3, 5, 9, 15, 2, 7}, TDateTime{1899, 12, 30, 0, 0, 0, 0},
                                TDateTime{9999, 12, 31, 23, 59, 59, 999}})
        EXPECT_EQ(ParseStoreDateTime(StoreDateTime(dt)), dt) << StoreDateTime(dt);
    EXPECT_EQ(StoreDateTime({2024, 3, 5, 9, 15, 2, 7}), "2024-03-05 09:15:02.007");
    EXPECT_FALSE(ParseStoreDateTime("2024-03-05 09:15:02"));
    EXPECT_FALSE(ParseStoreDateTime("2024-03-05 09:15:02.007x"));
}

TEST(JournalRecorder, HandsOnOnlyWhatIsCommittedInTheOrderStoredAndThenLetsGo)
{
    TempFolder dir;
    auto store = OpenStore(dir / kStoreFileName);
    ASSERT_TRUE(store);
    const auto session = store->BeginSession(kStart);
    ASSERT_TRUE(session);

    // The handoff looks for the result through a connection of its own: it
    // must already be there. Each event's hold (one end of a socket pair) is
    // still held then, and let go right after.
    auto reader = SqliteDb::Open(dir / kStoreFileName, {.ReadOnly = true});
    ASSERT_TRUE(reader);
    std::mutex mutex;
    std::vector<std::string> handedOn;
    int notYetCommitted = 0;
    std::vector<int> peers;  // the other ends, by event
    int releasedEarly = 0;
    auto handoff = [&](StoredEvent&& e) {
        std::lock_guard lock(mutex);
        ASSERT_TRUE(e.Stored) << e.StoreError;
        auto found = reader->Prepare("SELECT count(*) FROM results WHERE id=? AND user_name=?");
        ASSERT_TRUE(found);
        ASSERT_TRUE(found->BindAll(e.Receipt.Id, e.Event.Result.UserName));
        ASSERT_TRUE(*found->Step());
        if (found->ColumnInt(0) != 1)
            ++notYetCommitted;
        char byte;
        const int peer = peers[std::stoul(e.Event.Result.UserName.substr(1))];
        if (::recv(peer, &byte, 1, MSG_DONTWAIT) == 0)
            ++releasedEarly;
        handedOn.push_back(e.Event.Result.UserName);
    };
    constexpr int kThreads = 8, kEach = 25;
    std::vector<ConnectionHold> holds;
    for (int i = 0; i < kThreads * kEach; ++i) {
        int pair[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
        holds.emplace_back(pair[0]);
        peers.push_back(pair[1]);
    }
    {
        JournalRecorder recorder(store.get(), handoff);
        recorder.SetSession(session->Id, session->Run);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                for (int i = 0; i < kEach; ++i) {
                    const int n = t * kEach + i;
                    std::string name = "U";
                    name += std::to_string(n);
                    recorder.Record(ResultEvent(Sample(name)), std::move(holds[size_t(n)]));
                }
            });
        for (std::thread& t : threads)
            t.join();
        // A direct record waits for its turn behind the queued ones.
        const StoredEvent now = recorder.RecordNow(ResultEvent(Sample("direct")));
        EXPECT_TRUE(now.Stored);
        EXPECT_TRUE(now.Receipt.Added);
        EXPECT_LT(recorder.Commits(), kThreads * kEach + 1) << "results that arrive together share a commit";
    }

    EXPECT_EQ(notYetCommitted, 0);
    EXPECT_EQ(releasedEarly, 0);
    ASSERT_EQ(handedOn.size(), size_t(kThreads * kEach));
    // Handed on in the order the store holds them.
    const auto stored = store->Results();
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), size_t(kThreads * kEach + 1));
    for (size_t i = 0; i < handedOn.size(); ++i)
        EXPECT_EQ((*stored)[i].Result.UserName, handedOn[i]);
    EXPECT_EQ(stored->back().Result.UserName, "direct");
    // Every connection is let go.
    for (const int peer : peers) {
        char byte;
        EXPECT_EQ(::recv(peer, &byte, 1, MSG_DONTWAIT), 0);
        ::close(peer);
    }
}

TEST(JournalRecorder, WithoutAStoreEventsStillArriveWithTheReason)
{
    std::vector<StoredEvent> got;
    {
        JournalRecorder recorder(nullptr, [&](StoredEvent&& e) { got.push_back(std::move(e)); },
                                 "unable to open database file");
        recorder.Record(ResultEvent(Sample("A")));
        const StoredEvent now = recorder.RecordNow(ResultEvent(Sample("B")));
        EXPECT_FALSE(now.Stored);
        EXPECT_EQ(now.StoreError, "unable to open database file");
    }
    ASSERT_EQ(got.size(), 1u);
    EXPECT_FALSE(got[0].Stored);
    EXPECT_EQ(got[0].StoreError, "unable to open database file");
    EXPECT_EQ(got[0].Event.Result.UserName, "A");
}

}  // namespace
}  // namespace quilmo::journal
