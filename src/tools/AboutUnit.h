#pragma once
// The about box: the program's title and version, links to its site and
// portal, and a mail to its developers.

#include <QDialog>
#include <string>

#include "app/AppServices.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quilmo {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(AppServices& services, QWidget* parent = nullptr);

    void FormCreate();
    // Shared by GoToWWW and the portal's link (tag 1).
    void GoToWWWClick(QObject* sender);
    void Image3Click();
    void SendEmailClick();
    // Hover over a link label: hot-light colour and a pointing hand; navy again after.
    void LinkMouseEnter(QLabel* link);
    void LinkMouseLeave(QLabel* link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open(const std::string& address);

    AppServices& Services;
    std::string FileVersion;

    QLabel* ApplicationTitle = nullptr;
    QLabel* Version = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* PortalLink = nullptr;
    QPlainTextEdit* Credits = nullptr;
    QLabel* GoToWWW = nullptr;
    QLabel* SendEmail = nullptr;
    QPushButton* OKButton = nullptr;
};

}  // namespace quilmo
