// The hand-over from the listener's workers to the window's thread in batches.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "journal/ReceivedInbox.h"

namespace quilmo::journal {
namespace {

ReceivedEvent Event(const std::string& user)
{
    ReceivedEvent e;
    e.kind = ReceivedEvent::Kind::Message;
    e.UserName = user;
    return e;
}

TEST(ReceivedInboxTest, OneWakeUpPerBatchAndEverythingInOrder)
{
    ReceivedInbox inbox;
    EXPECT_TRUE(inbox.Put(Event("a")));   // the window must be woken
    EXPECT_FALSE(inbox.Put(Event("b")));  // already on its way
    EXPECT_FALSE(inbox.Put(Event("c")));
    std::vector<ReceivedEvent> batch = inbox.Take();
    ASSERT_EQ(batch.size(), 3u);
    EXPECT_EQ(batch[0].UserName, "a");
    EXPECT_EQ(batch[2].UserName, "c");
    EXPECT_TRUE(inbox.Take().empty());
    EXPECT_TRUE(inbox.Put(Event("d")));  // a new batch wakes it again
    EXPECT_EQ(inbox.Take().size(), 1u);
}

TEST(ReceivedInboxTest, ManyWorkersLoseNothingAndKeepEachOnesOrder)
{
    ReceivedInbox inbox;
    constexpr int kWorkers = 8;
    constexpr int kEach = 2000;
    std::atomic<int> wakeUps{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&, w] {
            for (int i = 0; i < kEach; ++i)
                if (inbox.Put(Event(std::to_string(w) + ":" + std::to_string(i))))
                    wakeUps.fetch_add(1);
        });
    std::vector<int> next(kWorkers, 0);
    int taken = 0, takes = 0;
    auto drain = [&] {
        std::vector<ReceivedEvent> batch = inbox.Take();
        if (batch.empty())
            return;
        ++takes;
        for (const ReceivedEvent& e : batch) {
            const size_t colon = e.UserName.find(':');
            const int w = std::stoi(e.UserName.substr(0, colon));
            EXPECT_EQ(std::stoi(e.UserName.substr(colon + 1)), next[static_cast<size_t>(w)]++);
            ++taken;
        }
    };
    while (taken < kWorkers * kEach)
        drain();
    for (std::thread& t : workers)
        t.join();
    drain();
    EXPECT_EQ(taken, kWorkers * kEach);
    // Every wake-up asked for found a batch of its own.
    EXPECT_EQ(wakeUps.load(), takes);
    EXPECT_TRUE(inbox.Put(Event("x")));
}

}  // namespace
}  // namespace quilmo::journal
