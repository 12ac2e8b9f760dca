#pragma once
// The dialog for the test's title and description.

#include <QDialog>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quilmo {

class TEditTitleAndDescriptionForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditTitleAndDescriptionForm(QWidget* parent = nullptr);

    void SetTitle(const std::string& title);
    void SetDescription(const std::string& description);
    // As typed, not trimmed; the description's lines joined by CR LF.
    std::string Title() const;
    std::string Description() const;

    QLineEdit* TitleField() const { return EditTitle; }
    QPlainTextEdit* DescriptionField() const { return MemoDescription; }
    QPushButton* SaveButton() const { return ButtonSave; }

private:
    QLineEdit* EditTitle = nullptr;
    QPlainTextEdit* MemoDescription = nullptr;
    QPushButton* ButtonSave = nullptr;
};

}  // namespace quilmo
