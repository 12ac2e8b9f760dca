// The runner's outbox: kept results survive a restart, go out oldest first,
// leave once delivered and stay while no journal can be reached.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "journal/Outbox.h"
#include "journal/ResultProtocol.h"
#include "support/TempFolder.h"

namespace quilmo::journal {
namespace {

using testing::TempFolder;

Outbox OpenOrFail(const std::string& path)
{
    auto outbox = Outbox::Open(path);
    EXPECT_TRUE(outbox) << (outbox ? "" : outbox.error().Message);
    return std::move(*outbox);
}

std::vector<std::string> Message(const std::string& user)
{
    return EncodeLines({"RESULT", user, "PC-1", "", "5"});
}

// Records what it is given and answers from a script, then Delivered.
struct Journal {
    std::vector<SendOutcome> answers;
    std::vector<std::vector<std::string>> got;
    Outbox::SendFn Send()
    {
        return [this](const std::vector<std::string>& lines) {
            got.push_back(lines);
            if (answers.empty())
                return SendOutcome::Delivered;
            const SendOutcome next = answers.front();
            answers.erase(answers.begin());
            return next;
        };
    }
};

TEST(OutboxTest, KeptMessagesSurviveAReopenAndGoOutOldestFirstOnce)
{
    TempFolder dir;
    {
        Outbox outbox = OpenOrFail(dir / kOutboxFileName);
        ASSERT_TRUE(outbox.Add(Message("Первый")));
        ASSERT_TRUE(outbox.Add(Message("Второй")));
        EXPECT_EQ(*outbox.Count(), 2);
    }
    Outbox outbox = OpenOrFail(dir / kOutboxFileName);
    EXPECT_EQ(*outbox.Count(), 2);
    Journal journal;
    EXPECT_EQ(*outbox.Resend(journal.Send()), true);
    // Line for line as they were kept: the same send calls, the same bytes.
    ASSERT_EQ(journal.got.size(), 2u);
    EXPECT_EQ(journal.got[0], Message("Первый"));
    EXPECT_EQ(journal.got[1], Message("Второй"));
    EXPECT_EQ(*outbox.Count(), 0);
    // Delivered ones are never sent again.
    EXPECT_EQ(*outbox.Resend(journal.Send()), true);
    EXPECT_EQ(journal.got.size(), 2u);
}

TEST(OutboxTest, NoJournalStopsTheResendAndKeepsEverything)
{
    TempFolder dir;
    Outbox outbox = OpenOrFail(dir / kOutboxFileName);
    for (const char* user : {"a", "b", "c"})
        ASSERT_TRUE(outbox.Add(Message(user)));
    const struct {
        std::vector<SendOutcome> answers;
        bool reachable;
        size_t tries;
        int64_t left;
    } cases[] = {
        {{SendOutcome::NoConnection}, false, 1, 3},                       // one wait, not three
        {{SendOutcome::Cut}, true, 1, 3},                                 // kept for the next time
        {{SendOutcome::Delivered, SendOutcome::NoConnection}, false, 2, 2},  // the oldest went
        {{}, true, 2, 0},
    };
    for (const auto& c : cases) {
        Journal journal{c.answers, {}};
        EXPECT_EQ(*outbox.Resend(journal.Send()), c.reachable);
        EXPECT_EQ(journal.got.size(), c.tries);
        EXPECT_EQ(*outbox.Count(), c.left);
    }
}

TEST(OutboxTest, BytesTheOutboxCannotHaveWrittenAreDroppedNotSent)
{
    TempFolder dir;
    Outbox outbox = OpenOrFail(dir / kOutboxFileName);
    ASSERT_TRUE(outbox.Add({"RESULT\r\n", "no end"}));
    ASSERT_TRUE(outbox.Add({}));
    ASSERT_TRUE(outbox.Add(Message("good")));
    Journal journal;
    EXPECT_EQ(*outbox.Resend(journal.Send()), true);
    ASSERT_EQ(journal.got.size(), 1u);
    EXPECT_EQ(journal.got[0], Message("good"));
    EXPECT_EQ(*outbox.Count(), 0);
}

TEST(OutboxTest, AFileThatIsNoDatabaseOrCannotBeMadeIsAnError)
{
    TempFolder dir;
    const auto garbage = Outbox::Open(dir.Write("outbox.sqlite", std::string(4096, 'x')));
    ASSERT_FALSE(garbage);
    EXPECT_FALSE(garbage.error().Message.empty());
    EXPECT_FALSE(Outbox::Open(dir / "missing/folder/outbox.sqlite"));
}

}  // namespace
}  // namespace quilmo::journal
