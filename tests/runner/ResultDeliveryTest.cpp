// The runner's messages to the journal and the results that wait in the outbox.

#include "runner/ResultDelivery.h"

#include <gtest/gtest.h>

#include "journal/ResultProtocol.h"
#include "model/FileIO.h"
#include "support/TempFolder.h"

namespace quilmo::testing {
namespace {

using journal::SendOutcome;

// A journal that answers as told and records every message it was sent.
struct FakeJournal {
    std::vector<SendOutcome> Answers;  // one per message; Delivered once they run out
    std::vector<std::vector<std::string>> Messages;
    journal::Outbox::SendFn Sender()
    {
        return [this](const std::vector<std::string>& lines) {
            Messages.push_back(lines);
            if (Answers.empty())
                return SendOutcome::Delivered;
            const SendOutcome answer = Answers.front();
            Answers.erase(Answers.begin());
            return answer;
        };
    }
};

class ResultDeliveryTest : public ::testing::Test {
protected:
    TempFolder folder;
    FakeJournal journal;
    std::string OutboxPath() const { return folder / journal::kOutboxFileName; }
};

TEST_F(ResultDeliveryTest, ADeliveredMessageLeavesNothingToTellOrKeep)
{
    ResultDelivery delivery(OutboxPath());
    const DeliveryReport report = delivery.Send({"Иванов", "Начат тест"}, true, journal.Sender());
    EXPECT_FALSE(report.NoJournal);
    EXPECT_TRUE(report.NotKept.empty());
    ASSERT_EQ(journal.Messages.size(), 1u);
    EXPECT_EQ(journal.Messages[0], journal::EncodeLines({"Иванов", "Начат тест"}));
    EXPECT_EQ(delivery.Waiting(), 0);
    EXPECT_FALSE(FileExists(OutboxPath()));  // no outbox made without need
}

TEST_F(ResultDeliveryTest, UndeliveredResultsWaitAndGoFirstNextTime)
{
    ResultDelivery delivery(OutboxPath());
    journal.Answers = {SendOutcome::NoConnection, SendOutcome::NoConnection, SendOutcome::NoConnection};
    // An announcement is only worth its moment; a result is kept.
    EXPECT_TRUE(delivery.Send({"announcement"}, false, journal.Sender()).NoJournal);
    EXPECT_EQ(delivery.Waiting(), 0);
    EXPECT_TRUE(delivery.Send({"result 1"}, true, journal.Sender()).NoJournal);
    // The journal does not answer for result 1: result 2 is not tried, but kept.
    EXPECT_TRUE(delivery.Send({"result 2"}, true, journal.Sender()).NoJournal);
    EXPECT_EQ(journal.Messages.size(), 3u);
    EXPECT_EQ(delivery.Waiting(), 2);

    journal.Messages.clear();
    delivery.Send({"result 3"}, true, journal.Sender());
    ASSERT_EQ(journal.Messages.size(), 3u);
    EXPECT_EQ(journal.Messages[0], journal::EncodeLines({"result 1"}));
    EXPECT_EQ(journal.Messages[1], journal::EncodeLines({"result 2"}));
    EXPECT_EQ(journal.Messages[2], journal::EncodeLines({"result 3"}));
    EXPECT_EQ(delivery.Waiting(), 0);
}

TEST_F(ResultDeliveryTest, ACutResultIsKeptWithoutTheNoJournalMessage)
{
    ResultDelivery delivery(OutboxPath());
    journal.Answers = {SendOutcome::Cut};
    const DeliveryReport report = delivery.Send({"result"}, true, journal.Sender());
    EXPECT_FALSE(report.NoJournal);
    EXPECT_TRUE(report.NotKept.empty());
    EXPECT_EQ(delivery.Waiting(), 1);
}

TEST_F(ResultDeliveryTest, AnOutboxThatCannotBeMadeSaysWhy)
{
    ResultDelivery delivery(folder / "no-such-folder/" + journal::kOutboxFileName);
    journal.Answers = {SendOutcome::NoConnection};
    const DeliveryReport report = delivery.Send({"result"}, true, journal.Sender());
    EXPECT_TRUE(report.NoJournal);
    EXPECT_FALSE(report.NotKept.empty());
    EXPECT_EQ(delivery.Waiting(), 0);
    EXPECT_FALSE(delivery.HasOutbox());
}

TEST_F(ResultDeliveryTest, AnEarlierRunsOutboxIsOpenedAndResent)
{
    {
        ResultDelivery first(OutboxPath());
        first.OpenExisting();  // none yet: none made
        EXPECT_FALSE(first.HasOutbox());
        journal.Answers = {SendOutcome::NoConnection};
        first.Send({"result"}, true, journal.Sender());
    }
    ResultDelivery second(OutboxPath());
    second.OpenExisting();
    EXPECT_TRUE(second.HasOutbox());
    EXPECT_EQ(second.Waiting(), 1);
    journal.Messages.clear();
    second.ResendWaiting(journal.Sender());
    EXPECT_EQ(journal.Messages.size(), 1u);
    EXPECT_EQ(second.Waiting(), 0);
}

}  // namespace
}  // namespace quilmo::testing
