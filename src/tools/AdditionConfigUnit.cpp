#include "tools/AdditionConfigUnit.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/QtConvert.h"
#include "tools/QtToolArt.h"

namespace quilmo {

namespace {

constexpr int kPictureSize = 48;

QPushButton* ApplyButton(const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("Применить"), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLineEdit* Edit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// The colour dialog shows its custom colours in two rows of eight, numbered
// down each column (A, I, B, J, ...); the entries number them along each row.
int SlotOfDialogIndex(int index)
{
    return (index % 2) * 8 + index / 2;
}

// A system colour (a negative value) as the RGB colour it stands for now.
int32_t Resolved(int32_t color)
{
    return color < 0 ? QColorToWinColor(WinColorToQColor(color)) : color;
}

}  // namespace

TAdditionConfigForm::TAdditionConfigForm(AppServices& services, TModeConfig& mode,
                                         TConfig& config, AssociationContext associations,
                                         QWidget* parent)
    : QDialog(parent),
      Prompter(services.prompts),
      Mode(mode),
      Config(config),
      Associations(std::move(associations))
{
    setObjectName(QStringLiteral("AdditionConfigForm"));
    setWindowTitle(QStringLiteral("Дополнительные настройки"));

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));

    // File associations.
    {
        auto* content = new QGroupBox(QStringLiteral("Выберите расширения файлов:"));
        content->setObjectName(QStringLiteral("GroupBoxExtensions"));
        auto* boxes = new QVBoxLayout(content);
        const char* names[3] = {"CheckBox_TST", "CheckBox_STST", "CheckBox_EST"};
        const char* captions[3] = {"Обычные тесты (.TST)", "Шифрованные тесты (.STST)",
                                   "Проверочные тесты (.EST)"};
        for (int i = 0; i < 3; ++i) {
            TypeBoxes[i] = new QCheckBox(QString::fromUtf8(captions[i]), content);
            TypeBoxes[i]->setObjectName(QString::fromLatin1(names[i]));
            boxes->addWidget(TypeBoxes[i]);
        }
        ButtonSetAssociation = ApplyButton("ButtonSetAssociation", this);
        connect(ButtonSetAssociation, &QPushButton::clicked, this,
                &TAdditionConfigForm::ButtonSetAssociationClick);
        // The associations are the user's own, in the desktop's data folder:
        // no administrator is needed, and the file manager is not Explorer.
        QWidget* page = MakePage(0,
                                 QStringLiteral("Вы можете ассоциировать расширения файлов с программой. "
                                                "Тогда файлы можно будет открывать двойным щелчком "
                                                "в файловом менеджере. Ассоциации записываются "
                                                "для текущего пользователя."),
                                 content, ButtonSetAssociation);
        page->setObjectName(QStringLiteral("TabSheetAssociation"));
        PageControl->addTab(page, QStringLiteral("Ассоциация расширений"));
    }

    // Network.
    {
        auto* content = new QWidget;
        auto* grid = new QGridLayout(content);
        grid->setContentsMargins(0, 0, 0, 0);
        Edit_RemoteHost = Edit("Edit_RemoteHost", content);
        Edit_RemotePort = Edit("Edit_RemotePort", content);
        Edit_LocalPort = Edit("Edit_LocalPort", content);
        const std::pair<const char*, QLineEdit*> rows[3] = {
            {"IP или имя сервера:", Edit_RemoteHost},
            {"Порт на сервере:", Edit_RemotePort},
            {"Порт сервера:", Edit_LocalPort},
        };
        for (int r = 0; r < 3; ++r) {
            auto* label = new QLabel(QString::fromUtf8(rows[r].first), content);
            label->setBuddy(rows[r].second);
            grid->addWidget(label, r, 0);
            grid->addWidget(rows[r].second, r, 1);
        }
        CheckBox_SendResult =
            new QCheckBox(QStringLiteral("Отправлять результаты на сервер учителю"), content);
        CheckBox_SendResult->setObjectName(QStringLiteral("CheckBox_SendResult"));
        grid->addWidget(CheckBox_SendResult, 3, 0, 1, 2);
        ButtonSetNetConfig = ApplyButton("ButtonSetNetConfig", this);
        connect(ButtonSetNetConfig, &QPushButton::clicked, this,
                &TAdditionConfigForm::ButtonSetNetConfigClick);
        QWidget* page = MakePage(1,
                                 QStringLiteral("Результаты прохождения теста могут быть отправлены "
                                                "учителю на сервер.  Сервер - это компьютер учителя, "
                                                "клиент - ученика."),
                                 content, ButtonSetNetConfig);
        page->setObjectName(QStringLiteral("TabSheetNetConfig"));
        PageControl->addTab(page, QStringLiteral("Настройки сети"));
    }

    // Folders.
    {
        auto* content = new QWidget;
        auto* grid = new QGridLayout(content);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setVerticalSpacing(3);
        Edit_InitialDirOpenTest = Edit("Edit_InitialDirOpenTest", content);
        Edit_DirForResult = Edit("Edit_DirForResult", content);
        struct Row {
            const char* Label;
            QLineEdit* EditBox;
            const char* Select;
            const char* Clear;
            void (TAdditionConfigForm::*OnSelect)();
            void (TAdditionConfigForm::*OnClear)();
        };
        const Row rows[2] = {
            {"Папка для выбора теста по умолчанию:", Edit_InitialDirOpenTest,
             "Button_SelectInitialDirOpenTest", "Button_ClearInitialDirOpenTest",
             &TAdditionConfigForm::Button_SelectInitialDirOpenTestClick,
             &TAdditionConfigForm::Button_ClearInitialDirOpenTestClick},
            {"Папка для сохранения результатов тестирования:", Edit_DirForResult,
             "Button_SelectDirForResult", "Button_ClearDirForResult",
             &TAdditionConfigForm::Button_SelectDirForResultClick,
             &TAdditionConfigForm::Button_ClearDirForResultClick},
        };
        for (int r = 0; r < 2; ++r) {
            auto* label = new QLabel(QString::fromUtf8(rows[r].Label), content);
            label->setBuddy(rows[r].EditBox);
            grid->addWidget(label, 2 * r, 0, 1, 3);
            grid->addWidget(rows[r].EditBox, 2 * r + 1, 0);
            QPushButton* select = Button(rows[r].Select, QStringLiteral("Обзор"), content);
            QPushButton* clear = Button(rows[r].Clear, QStringLiteral("Очистить"), content);
            connect(select, &QPushButton::clicked, this, rows[r].OnSelect);
            connect(clear, &QPushButton::clicked, this, rows[r].OnClear);
            grid->addWidget(select, 2 * r + 1, 1);
            grid->addWidget(clear, 2 * r + 1, 2);
        }
        grid->setColumnStretch(0, 1);
        ButtonSaveFolder = ApplyButton("ButtonSaveFolder", this);
        connect(ButtonSaveFolder, &QPushButton::clicked, this,
                &TAdditionConfigForm::ButtonSaveFolderClick);
        QWidget* page = MakePage(2,
                                 QStringLiteral("Вы можете самостоятельно выбрать папки с которыми "
                                                "работает программма. Для сохранения значений по "
                                                "умолчанию оставьте эти поля пустыми."),
                                 content, ButtonSaveFolder);
        page->setObjectName(QStringLiteral("TabSheetFolder"));
        PageControl->addTab(page, QStringLiteral("Папки"));
    }

    // Colours.
    {
        auto* content = new QWidget;
        auto* grid = new QGridLayout(content);
        grid->setContentsMargins(0, 0, 0, 0);
        const char* labels[2] = {"Цвет выделения правильного ответа:",
                                 "Цвет выделения ошибочного ответа:"};
        const char* squares[2] = {"ColorCorrectAnswer", "ColorErrorAnswer"};
        const char* choices[2] = {"ChoiceColorCorrectAnswer", "ChoiceColorErrorAnswer"};
        void (TAdditionConfigForm::*handlers[2])() = {
            &TAdditionConfigForm::ChoiceColorCorrectAnswerClick,
            &TAdditionConfigForm::ChoiceColorErrorAnswerClick};
        for (int r = 0; r < 2; ++r) {
            grid->addWidget(new QLabel(QString::fromUtf8(labels[r]), content), r, 0);
            Squares[r] = new QFrame(content);
            Squares[r]->setObjectName(QString::fromLatin1(squares[r]));
            Squares[r]->setFrameShape(QFrame::Box);
            Squares[r]->setFixedSize(40, 22);
            Squares[r]->setAutoFillBackground(true);
            grid->addWidget(Squares[r], r, 1);
            QPushButton* choose = Button(choices[r], QStringLiteral("Выбрать"), content);
            connect(choose, &QPushButton::clicked, this, handlers[r]);
            grid->addWidget(choose, r, 2);
        }
        grid->setColumnStretch(0, 1);
        ButtonSetColors = ApplyButton("ButtonSetColors", this);
        connect(ButtonSetColors, &QPushButton::clicked, this,
                &TAdditionConfigForm::ButtonSetColorsClick);
        QWidget* page = MakePage(3,
                                 QStringLiteral("Вы можете указать цвета  которыми будут выделены "
                                                "верные и ошибочные ответы в обучающем режиме "
                                                "тестирования."),
                                 content, ButtonSetColors);
        page->setObjectName(QStringLiteral("TabSheetColors"));
        PageControl->addTab(page, QStringLiteral("Цвета"));
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(PageControl);
    setFixedSize(428, 318);

    PageControl->setCurrentIndex(0);
    connect(PageControl, &QTabWidget::currentChanged, this, &TAdditionConfigForm::PageShow);
    // The dialog opens on the first page: that page is being shown.
    PageShow(0);
}

QWidget* TAdditionConfigForm::MakePage(int picture, const QString& text, QWidget* content,
                                       QPushButton* apply)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    auto* image = new QLabel(page);
    image->setObjectName(QStringLiteral("Image") + QString::number(picture + 1));
    image->setPixmap(PagePicture(picture, kPictureSize));
    image->setFixedSize(kPictureSize, kPictureSize);
    header->addWidget(image, 0, Qt::AlignTop);
    auto* label = new QLabel(text, page);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    header->addWidget(label, 1);
    layout->addLayout(header);

    content->setParent(page);
    layout->addWidget(content);
    layout->addStretch(1);
    apply->setParent(page);
    apply->setMinimumHeight(26);
    layout->addWidget(apply);
    return page;
}

void TAdditionConfigForm::PageShow(int index)
{
    switch (index) {
    case 0: AssociationShow(); break;
    case 1: NetConfigShow(); break;
    case 2: FolderShow(); break;
    case 3: ColorsShow(); break;
    default: break;
    }
}

// ---------------------------------------------------------------- associations

void TAdditionConfigForm::AssociationShow()
{
    const std::array<bool, 3> associated = CheckAssociations(Associations);
    for (size_t i = 0; i < TypeBoxes.size(); ++i) {
        if (associated[i])
            TypeBoxes[i]->setChecked(true);
        // Not associated: the tick stays as the user left it.
        TypeBoxes[i]->setEnabled(!associated[i]);
    }
}

void TAdditionConfigForm::ButtonSetAssociationClick()
{
    std::array<bool, 3> chosen{};
    for (size_t i = 0; i < TypeBoxes.size(); ++i)
        chosen[i] = TypeBoxes[i]->isChecked() && TypeBoxes[i]->isEnabled();
    const Status written = ApplyAssociations(Associations, chosen, IconPng);
    if (!written)
        Prompter.Message(this, QString::fromUtf8(kAppTitle), Q(written.error().Message),
                         PromptIcon::Error, PromptButtons::Ok);
    // Also after a failure: the boxes then show what did get written.
    AssociationShow();
}

// ---------------------------------------------------------------- network

void TAdditionConfigForm::NetConfigShow()
{
    Edit_RemoteHost->setText(Q(Config.RemoteHost));
    Edit_RemotePort->setText(Q(Config.RemotePort));
    Edit_LocalPort->setText(Q(Config.LocalPort));
    CheckBox_SendResult->setChecked(Mode.SendResult == 1);
}

void TAdditionConfigForm::ButtonSetNetConfigClick()
{
    // As typed: an unusable text shows when a message is sent or the journal opens.
    Config.RemoteHost = S(Edit_RemoteHost->text());
    Config.RemotePort = S(Edit_RemotePort->text());
    Config.LocalPort = S(Edit_LocalPort->text());
    Mode.SendResult = CheckBox_SendResult->isChecked() ? 1 : 0;
}

// ---------------------------------------------------------------- folders

void TAdditionConfigForm::FolderShow()
{
    Edit_InitialDirOpenTest->setText(Q(Config.InitialDirOpenTest));
    Edit_DirForResult->setText(Q(Config.DirForResult));
}

void TAdditionConfigForm::SelectFolder(QLineEdit* edit)
{
    const auto folder =
        Prompter.Folder(this, QStringLiteral("Пожалуйста, выберите папку"), edit->text());
    // Cancelling empties the box: the default folder.
    edit->setText(folder ? *folder : QString());
}

void TAdditionConfigForm::Button_SelectInitialDirOpenTestClick()
{
    SelectFolder(Edit_InitialDirOpenTest);
}

void TAdditionConfigForm::Button_SelectDirForResultClick()
{
    SelectFolder(Edit_DirForResult);
}

void TAdditionConfigForm::Button_ClearInitialDirOpenTestClick()
{
    Edit_InitialDirOpenTest->clear();
}

void TAdditionConfigForm::Button_ClearDirForResultClick()
{
    Edit_DirForResult->clear();
}

void TAdditionConfigForm::ButtonSaveFolderClick()
{
    Config.InitialDirOpenTest = S(Edit_InitialDirOpenTest->text());
    Config.DirForResult = S(Edit_DirForResult->text());
}

// ---------------------------------------------------------------- colours

void TAdditionConfigForm::ColorsShow()
{
    SquareColor = {Config.ColorCorrectAnswer, Config.ColorErrorAnswer};
    PaintSquare(0);
    PaintSquare(1);
}

void TAdditionConfigForm::PaintSquare(int square)
{
    QPalette pal = Squares[square]->palette();
    pal.setColor(QPalette::Window, WinColorToQColor(SquareColor[square]));
    Squares[square]->setPalette(pal);
}

void TAdditionConfigForm::ChooseColor(int square)
{
    CustomColors.AddPress(Resolved(SquareColor[0]), Resolved(SquareColor[1]));
    const std::array<int32_t, 16> slotColors = CustomColors.Slots();
    QList<QColor> custom;
    for (int index = 0; index < 16; ++index)
        custom << WinColorToQColor(slotColors[static_cast<size_t>(SlotOfDialogIndex(index))]);

    const auto chosen = Prompter.Color(this, WinColorToQColor(SquareColor[square]), custom);
    if (!chosen)
        return;
    if (custom.size() == 16) {
        std::array<int32_t, 16> back{};
        for (int index = 0; index < 16; ++index)
            back[static_cast<size_t>(SlotOfDialogIndex(index))] = QColorToWinColor(custom[index]);
        CustomColors.StoreSlots(back);
    }
    SquareColor[square] = QColorToWinColor(*chosen);
    PaintSquare(square);
}

void TAdditionConfigForm::ChoiceColorCorrectAnswerClick()
{
    ChooseColor(0);
}

void TAdditionConfigForm::ChoiceColorErrorAnswerClick()
{
    ChooseColor(1);
}

void TAdditionConfigForm::ButtonSetColorsClick()
{
    Config.ColorCorrectAnswer = SquareColor[0];
    Config.ColorErrorAnswer = SquareColor[1];
}

}  // namespace quilmo
