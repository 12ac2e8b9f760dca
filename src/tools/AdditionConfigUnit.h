#pragma once
// The additional settings dialog: file associations, network, folders and
// the colours of education mode. It edits the main window's settings in memory;
// they reach config.ini when the settings are saved.

#include <QDialog>
#include <array>

#include "app/AppServices.h"
#include "app/Settings.h"
#include "model/TestModel.h"
#include "tools/Associations.h"
#include "tools/CustomColors.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quilmo {

class TAdditionConfigForm : public QDialog {
    Q_OBJECT
public:
    // associations: the data folder and the program file the associations name.
    TAdditionConfigForm(AppServices& services, TModeConfig& mode, TConfig& config,
                        AssociationContext associations, QWidget* parent = nullptr);

    // Each page reloads its settings whenever it becomes visible, so edits
    // that were not applied are lost.
    void AssociationShow();
    void NetConfigShow();
    void FolderShow();
    void ColorsShow();

    void ButtonSetAssociationClick();
    void ButtonSetNetConfigClick();
    void ButtonSaveFolderClick();
    void ButtonSetColorsClick();
    void Button_SelectInitialDirOpenTestClick();
    void Button_SelectDirForResultClick();
    void Button_ClearInitialDirOpenTestClick();
    void Button_ClearDirForResultClick();
    void ChoiceColorCorrectAnswerClick();
    void ChoiceColorErrorAnswerClick();

    QTabWidget* Pages() const { return PageControl; }
    // The colours the two squares show, as colour values.
    int32_t CorrectSquareColor() const { return SquareColor[0]; }
    int32_t ErrorSquareColor() const { return SquareColor[1]; }

private:
    QWidget* MakePage(int picture, const QString& text, QWidget* content, QPushButton* apply);
    void PageShow(int index);
    void SelectFolder(QLineEdit* edit);
    void ChooseColor(int square);
    void PaintSquare(int square);

    Prompts& Prompter;
    TModeConfig& Mode;
    TConfig& Config;
    AssociationContext Associations;

    std::array<int32_t, 2> SquareColor{};
    // Kept while the dialog is open, as the colour dialog's custom colours.
    CustomColorEntries CustomColors;

    QTabWidget* PageControl = nullptr;
    std::array<QCheckBox*, 3> TypeBoxes{};  // CheckBox_TST, CheckBox_STST, CheckBox_EST
    QPushButton* ButtonSetAssociation = nullptr;
    QLineEdit* Edit_RemoteHost = nullptr;
    QLineEdit* Edit_RemotePort = nullptr;
    QLineEdit* Edit_LocalPort = nullptr;
    QCheckBox* CheckBox_SendResult = nullptr;
    QPushButton* ButtonSetNetConfig = nullptr;
    QLineEdit* Edit_InitialDirOpenTest = nullptr;
    QLineEdit* Edit_DirForResult = nullptr;
    QPushButton* ButtonSaveFolder = nullptr;
    std::array<QFrame*, 2> Squares{};  // ColorCorrectAnswer, ColorErrorAnswer
    QPushButton* ButtonSetColors = nullptr;
};

}  // namespace quilmo
