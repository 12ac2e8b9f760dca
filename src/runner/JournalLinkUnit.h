#pragma once
// The runner's link to the results journal: the journal window, kept hidden
// from start to exit, and the outbox of results that found no journal, sent
// again every minute while any wait.

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "app/Settings.h"
#include "journal/Outbox.h"
#include "runner/ResultDelivery.h"

class QLabel;
class QTimer;
class QWidget;

namespace quilmo {

class TServerForm;

class TJournalLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kResendMs = 60000;

    // window: the runner, which owns the journal window and the link's
    // prompts; waitingPanel shows how many results wait; sessionRunning says
    // when a learner must not be kept waiting by a resend.
    TJournalLink(AppServices& services, const TConfig& config, QLabel* waitingPanel,
                 std::function<bool()> sessionRunning, QWidget* window);

    TServerForm& Server() { return *ServerWindow; }
    // Sends what waits in the outbox, then one message; "Сервер не найден!"
    // when no connection can be made. A message to keep that was not
    // delivered goes into the outbox.
    void Send(const std::vector<std::string>& values, bool keepUndelivered);
    // Results that found no journal and wait to be sent again.
    int64_t Waiting();
    // The timer's tick: sends what waits again, unless a session runs.
    void ResendWaiting();
    // The close query's question about results the journal has not exported;
    // false keeps the program open.
    bool CloseQuery();

private:
    void ShowWaiting();
    // Delivers to the journal of the settings in use.
    journal::Outbox::SendFn Sender() const;

    Prompts& Prompter;
    const TConfig& Config;
    QLabel* WaitingPanel;
    std::function<bool()> SessionRunning;
    QWidget* Window;
    TServerForm* ServerWindow = nullptr;
    ResultDelivery Delivery;
    QTimer* TimerOutbox = nullptr;
};

}  // namespace quilmo
