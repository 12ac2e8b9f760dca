#include "runner/ResultDelivery.h"

#include "journal/ResultProtocol.h"
#include "model/FileIO.h"

namespace quilmo {

ResultDelivery::ResultDelivery(std::string outboxPath) : Path(std::move(outboxPath)) {}

void ResultDelivery::OpenExisting()
{
    if (FileExists(Path))
        Open();
}

journal::Outbox* ResultDelivery::Open()
{
    if (!Store) {
        auto opened = journal::Outbox::Open(Path);
        if (!opened) {
            OpenError = opened.error().Message;
            return nullptr;
        }
        Store.emplace(std::move(*opened));
    }
    return &*Store;
}

DeliveryReport ResultDelivery::Send(const std::vector<std::string>& values, bool keepUndelivered,
                                    const journal::Outbox::SendFn& send)
{
    const std::vector<std::string> lines = journal::EncodeLines(values);
    bool reachable = true;
    if (Store) {
        const auto resent = Store->Resend(send);
        reachable = !resent || *resent;
    }
    const journal::SendOutcome outcome = reachable ? send(lines) : journal::SendOutcome::NoConnection;
    DeliveryReport report;
    report.NoJournal = outcome == journal::SendOutcome::NoConnection;
    if (keepUndelivered && outcome != journal::SendOutcome::Delivered) {
        journal::Outbox* outbox = Open();
        const Status kept = outbox ? outbox->Add(lines) : Status(Error{OpenError});
        if (!kept)
            report.NotKept = kept.error().Message;
    }
    return report;
}

void ResultDelivery::ResendWaiting(const journal::Outbox::SendFn& send)
{
    if (Store)
        Store->Resend(send);
}

int64_t ResultDelivery::Waiting()
{
    if (!Store)
        return 0;
    const auto count = Store->Count();
    return count ? *count : 0;
}

}  // namespace quilmo
