#include "runner/JournalLinkUnit.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <utility>

#include "app/QtConvert.h"
#include "journal/Sender.h"
#include "journal/ServerUnit.h"

namespace quilmo {

TJournalLink::TJournalLink(AppServices& services, const TConfig& config, QLabel* waitingPanel,
                           std::function<bool()> sessionRunning, QWidget* window)
    : QObject(window),
      Prompter(services.prompts),
      Config(config),
      WaitingPanel(waitingPanel),
      SessionRunning(std::move(sessionRunning)),
      Window(window),
      Delivery(services.ProgramDir + journal::kOutboxFileName)
{
    ServerWindow = new TServerForm(services, window);
    TimerOutbox = new QTimer(this);
    TimerOutbox->setObjectName(QStringLiteral("TimerOutbox"));
    TimerOutbox->setInterval(kResendMs);
    connect(TimerOutbox, &QTimer::timeout, this, &TJournalLink::ResendWaiting);
    // Results an earlier run could not deliver still wait.
    Delivery.OpenExisting();
    ShowWaiting();
}

journal::Outbox::SendFn TJournalLink::Sender() const
{
    return [host = Config.RemoteHost, port = Config.RemotePort](const std::vector<std::string>& lines) {
        return journal::Deliver(host, port, lines);
    };
}

void TJournalLink::Send(const std::vector<std::string>& values, bool keepUndelivered)
{
    // The connection is made on this thread, as a runner always has; the wait
    // cursor shows why the window does not answer meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const DeliveryReport report = Delivery.Send(values, keepUndelivered, Sender());
    QApplication::restoreOverrideCursor();
    ShowWaiting();
    if (report.NoJournal)
        Prompter.Message(Window, QStringLiteral("Error"), QStringLiteral("Сервер не найден!"),
                         PromptIcon::Error, PromptButtons::Ok);
    if (!report.NotKept.empty())
        Prompter.Message(Window, QString::fromUtf8(kAppTitle),
                         QStringLiteral("Результат не сохранен для повторной отправки:\r\n") + Q(report.NotKept),
                         PromptIcon::Error, PromptButtons::Ok);
}

int64_t TJournalLink::Waiting()
{
    return Delivery.Waiting();
}

void TJournalLink::ShowWaiting()
{
    const int64_t waiting = Waiting();
    if (waiting > 0) {
        WaitingPanel->setText(QStringLiteral("В очереди: %1").arg(waiting));
        // The whole text also where a narrow window cuts the panel short.
        WaitingPanel->setToolTip(WaitingPanel->text());
        if (!TimerOutbox->isActive())
            TimerOutbox->start();
    } else {
        WaitingPanel->clear();
        WaitingPanel->setToolTip({});
        TimerOutbox->stop();
    }
}

void TJournalLink::ResendWaiting()
{
    // A learner in the middle of a test is not kept waiting for a journal
    // that does not answer: the session's own messages send what waits.
    if (!Delivery.HasOutbox() || SessionRunning())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Delivery.ResendWaiting(Sender());
    QApplication::restoreOverrideCursor();
    ShowWaiting();
}

bool TJournalLink::CloseQuery()
{
    if (ServerWindow->HasUnsaved() &&
        !Prompter.Ask(Window, QStringLiteral("Внимание!"),
                      QStringLiteral("Вы желаете выйти из программы не сохранив результаты в модуле "
                                     "\"Журнала\"?")))
        return false;
    ServerWindow->CloseWithProgram();
    return true;
}

}  // namespace quilmo
