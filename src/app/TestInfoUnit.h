#pragma once
// The test information window: a read-only description of the open test.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace quilmo {

struct TModeConfig;
struct TTestInfo;

class TTestInfoForm : public QDialog {
    Q_OBJECT
public:
    explicit TTestInfoForm(QWidget* parent = nullptr);

    // Clears the text, then writes the test's lines.
    void Fill(const TTestInfo& info, const TModeConfig& mode);
    QString Text() const;

private:
    QPlainTextEdit* InfoText;
    QPushButton* OKButton;
};

}  // namespace quilmo
