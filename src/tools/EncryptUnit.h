#pragma once
// The encryptor window: plain test files to the older enciphered form and back.

#include <QDialog>
#include <cstdint>
#include <string>

#include "app/AppServices.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quilmo {

class TEncryptForm : public QDialog {
    Q_OBJECT
public:
    explicit TEncryptForm(AppServices& services, QWidget* parent = nullptr);

    void FormCreate();
    // The compatibility warning, each time the window is shown.
    void FormShow();
    void OpenAndEncryptBitBtnClick();
    void OpenAndDecryptBitBtnClick();
    void SaveToFileBitBtnClick();

    // 0 nothing converted, 1 the lower pane holds digits, 2 a deciphered text.
    uint8_t Mode() const { return ConvertMode; }
    const std::string& SourceFile() const { return SourceFileName; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void OpenAndConvert(bool encipher);

    AppServices& Services;
    Prompts& Prompter;

    std::string Key;
    std::string SourceFileName;
    uint8_t ConvertMode = 0;
    // The converted bytes as they were put into the lower pane; saved as they
    // are unless the user has edited the pane since.
    std::string ResultBytes;

    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* OpenAndEncryptBitBtn = nullptr;
    QPushButton* OpenAndDecryptBitBtn = nullptr;
    QPushButton* SaveToFileBitBtn = nullptr;
    QPushButton* ExitBitBtn = nullptr;
};

}  // namespace quilmo
