#include "tools/EncryptUnit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <new>

#include "app/QtConvert.h"
#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "model/FileIO.h"
#include "tools/Encryptor.h"

namespace quilmo {

namespace {

const QString kCaptionAttention = QStringLiteral("Внимание!");

// A 137 by 48 button whose caption wraps onto a second line, with its picture
// on the left. The caption is also the button's accessible name.
QPushButton* MakeButton(const QString& name, const QString& caption, const QIcon& icon, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFixedSize(137, 48);
    button->setAccessibleName(caption);
    button->setCursor(Qt::ArrowCursor);
    auto* row = new QHBoxLayout(button);
    row->setContentsMargins(8, 2, 6, 2);
    row->setSpacing(6);
    auto* picture = new QLabel(button);
    picture->setPixmap(icon.pixmap(16, 16));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* text = new QLabel(caption, button);
    text->setObjectName(name + QStringLiteral("Caption"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(picture);
    row->addWidget(text, 1);
    return button;
}

QLabel* MakeNote(const QString& text, QWidget* parent)
{
    auto* note = new QLabel(text, parent);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setCursor(Qt::ArrowCursor);
    return note;
}

QPlainTextEdit* MakePane(const QString& name, QWidget* parent)
{
    auto* pane = new QPlainTextEdit(parent);
    pane->setObjectName(name);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Skipped by the Tab key, and Tab inside moves on rather than typing a tab.
    pane->setFocusPolicy(Qt::ClickFocus);
    pane->setTabChangesFocus(true);
    return pane;
}

}  // namespace

TEncryptForm::TEncryptForm(AppServices& services, QWidget* parent)
    : QDialog(parent), Services(services), Prompter(services.prompts)
{
    setObjectName(QStringLiteral("EncryptForm"));
    setWindowTitle(QStringLiteral("Шифрование/расшифрование тестов"));
    BuildLayout();
    FormCreate();
}

void TEncryptForm::BuildLayout()
{
    setMinimumSize(624, 444);
    resize(624, 444);
    setCursor(Qt::DragMoveCursor);  // the drag cursor over the window's background

    auto* panes = new QVBoxLayout;
    panes->setContentsMargins(0, 0, 0, 0);
    panes->setSpacing(0);
    auto* sourceLabel = new QLabel(QStringLiteral(" Исходный файл:"), this);
    sourceLabel->setObjectName(QStringLiteral("Label1"));
    sourceLabel->setFixedHeight(16);
    Memo1 = MakePane(QStringLiteral("Memo1"), this);
    auto* resultLabel = new QLabel(QStringLiteral(" Результат:"), this);
    resultLabel->setObjectName(QStringLiteral("Label2"));
    resultLabel->setFixedHeight(16);
    Memo2 = MakePane(QStringLiteral("Memo2"), this);
    panes->addWidget(sourceLabel);
    panes->addWidget(Memo1, 1);
    panes->addWidget(resultLabel);
    panes->addWidget(Memo2, 1);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelRight"));
    panel->setFixedWidth(154);
    panel->setCursor(Qt::ArrowCursor);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(8, 8, 9, 8);
    column->setSpacing(8);
    QStyle* s = style();
    OpenAndEncryptBitBtn = MakeButton(QStringLiteral("OpenAndEncryptBitBtn"),
                                      QStringLiteral("Открыть и зашифровать..."),
                                      s->standardIcon(QStyle::SP_DialogOpenButton), panel);
    OpenAndDecryptBitBtn = MakeButton(QStringLiteral("OpenAndDecryptBitBtn"),
                                      QStringLiteral("Открыть и расшифровать..."),
                                      s->standardIcon(QStyle::SP_FileDialogContentsView), panel);
    SaveToFileBitBtn = MakeButton(QStringLiteral("SaveToFileBitBtn"), QStringLiteral("Сохранить в файл..."),
                                  s->standardIcon(QStyle::SP_DialogSaveButton), panel);
    ExitBitBtn = MakeButton(QStringLiteral("ExitBitBtn"), QStringLiteral("Выход"),
                            s->standardIcon(QStyle::SP_DialogCloseButton), panel);
    column->addWidget(OpenAndEncryptBitBtn);
    column->addWidget(OpenAndDecryptBitBtn);
    column->addWidget(MakeNote(
        QStringLiteral("Внимание! Шифрование и расшифровка больших файлов может занять некоторе время."), panel));
    column->addWidget(MakeNote(QStringLiteral("Рекомендуется для проверки знаний использовать не шифрование "
                                              "тестов, а проверочные тесты. Подробности в справке к программе."),
                               panel));
    column->addStretch(1);
    column->addWidget(SaveToFileBitBtn);
    column->addWidget(ExitBitBtn);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(panes, 1);
    layout->addWidget(panel);

    connect(OpenAndEncryptBitBtn, &QPushButton::clicked, this, &TEncryptForm::OpenAndEncryptBitBtnClick);
    connect(OpenAndDecryptBitBtn, &QPushButton::clicked, this, &TEncryptForm::OpenAndDecryptBitBtnClick);
    connect(SaveToFileBitBtn, &QPushButton::clicked, this, &TEncryptForm::SaveToFileBitBtnClick);
    connect(ExitBitBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TEncryptForm::FormCreate()
{
    Key = std::string(kLegacyKey);
    ConvertMode = 0;
    SaveToFileBitBtn->setEnabled(false);
}

void TEncryptForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // After the window is on screen, so that the warning stands in front of it.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, &TEncryptForm::FormShow);
}

void TEncryptForm::FormShow()
{
    Prompter.Message(this, kCaptionAttention,
                     QStringLiteral("Этот модуль оставлен только для совместимости с предыдущей версией и не "
                                    "рекомендуется для использования.\r\nАвтор рекомендует познакомится  с "
                                    "«проверочными тестами»."),
                     PromptIcon::Information, PromptButtons::Ok);
}

void TEncryptForm::OpenAndEncryptBitBtnClick()
{
    OpenAndConvert(true);
}

void TEncryptForm::OpenAndDecryptBitBtnClick()
{
    OpenAndConvert(false);
}

void TEncryptForm::OpenAndConvert(bool encipher)
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Открыть");
    spec.Filter = encipher ? QStringLiteral("Все файлы тестов (*.txt,*.tst)|*.TXT;*.TST;|Текстовые файлы "
                                            "(*.txt)|*.TXT|Файлы тестов (*.tst)|*.TST")
                           : QStringLiteral("Зашифрованные файлы тестов|*.STST");
    const auto chosen = Prompter.OpenFile(this, spec);
    if (!chosen || chosen->Path.isEmpty() || !FileExists(S(chosen->Path)))
        return;

    SourceFileName = S(chosen->Path);
    Memo1->clear();
    Memo2->clear();
    const auto failed = [this] {
        Memo1->clear();
        Memo2->clear();
        ResultBytes.clear();
        Prompter.Notice(this, QString::fromUtf8(kEncryptorOpenError));
        ConvertMode = 0;
        SaveToFileBitBtn->setEnabled(false);
    };
    try {
        auto source = LoadEncryptorSource(SourceFileName,
                                          encipher ? kMaxPlainSourceBytes : kMaxEncipheredSourceBytes);
        if (!source) {
            failed();
            return;
        }
        Memo1->setPlainText(FieldToWidget(Cp1251ToUtf8(*source)));
        ResultBytes = encipher ? TCrypt::Encipher(*source, Key) : TCrypt::Decipher(*source, Key);
        Memo2->setPlainText(FieldToWidget(Cp1251ToUtf8(ResultBytes)));
    } catch (const std::bad_alloc&) {
        // A file too large for the memory there is fails like an unreadable one.
        failed();
        return;
    }
    Memo2->document()->setModified(false);
    ConvertMode = encipher ? 1 : 2;
    SaveToFileBitBtn->setEnabled(true);
}

void TEncryptForm::SaveToFileBitBtnClick()
{
    if (ConvertMode == 0)
        return;
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Сохранить");
    spec.OverwritePrompt = true;
    if (ConvertMode == 1) {
        spec.Filter = QStringLiteral("Зашифрованные файлы тестов|*.STST");
        spec.DefaultExtension = QStringLiteral("STST");
    } else {
        spec.Filter = QStringLiteral("Text files (*.txt)|*.TXT|Test files (*.tst)|*.TST");
        spec.DefaultExtension = QStringLiteral("txt");
    }
    const auto chosen = Prompter.SaveFile(this, spec);
    if (!chosen || chosen->Path.isEmpty())
        return;
    // The pane as the user left it; untouched, exactly the converted bytes.
    const std::string bytes = Memo2->document()->isModified()
                                  ? Utf8ToCp1251(WidgetToField(Memo2->toPlainText()))
                                  : ResultBytes;
    if (!WriteFileAtomically(S(chosen->Path), bytes))
        Prompter.Notice(this, QString::fromUtf8(kEncryptorSaveError));
}

}  // namespace quilmo
