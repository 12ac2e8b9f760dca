#pragma once
// The name prompt shown before a session: greeting, the learner's name, OK.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quilmo {

class TInputUserNameForm : public QDialog {
    Q_OBJECT
public:
    explicit TInputUserNameForm(QWidget* parent = nullptr);

    // Before every showing: the greeting for the hour and the proposed name.
    // Clears the "edited" flag, so that the first click wipes the proposal.
    void Prepare(int hour, const QString& proposedName);
    QString UserNameText() const;
    void SetUserNameText(const QString& text);
    bool Edited() const { return EditedFlag; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UserNameChange();
    void UserNameClick();

    QLabel* HelloLabel;
    QLineEdit* UserName;
    QPushButton* OKButton;
    bool EditedFlag = false;
    bool Preparing = false;
};

}  // namespace quilmo
