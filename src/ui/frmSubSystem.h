#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "ui/EditorDialog.h"

class QFrame;
class QLabel;
class QPushButton;

namespace quarn::subsysmgr {

class InputTool;
class SpreadGrid;

/// The subsystem editor: adds a subsystem to a group (lngStatus 1; any other value but 2 adds
/// without the identifier checks of add mode) or edits one (2). SubSystemMgrUI sets the four
/// public fields, runs Form_Load, shows the dialog modally and hands back objSubSystem.
///
/// Save checks the input, copies it into the subsystem's validating setters, hands the
/// subsystem to the group and saves the group; every failure is shown in one message box, the
/// focus goes to the field the error names and the dialog stays open with the input kept.
class frmSubSystem : public EditorDialog {
    Q_OBJECT

  public:
    explicit frmSubSystem(QWidget* parent = nullptr,
                          std::shared_ptr<ModuleState> module = ModuleState::Current());
    ~frmSubSystem() override;

    /// The subsystem being edited; in add mode created by the first save attempt and reused by
    /// the next ones.
    SubSystemPtr objSubSystem;
    std::shared_ptr<SubSysGroup> objSubSysGroup;
    int32_t lngStatus = 0;
    bool bIsBROXAddition = false;

    // Controls, in tab order; all but the buttons sit in the frame frmCo.
    QFrame* frmCo;
    InputTool* inID;
    InputTool* inIndex;
    InputTool* inNumber;
    InputTool* inName;
    InputTool* inNameCHT;
    InputTool* inNameEN;
    InputTool* inGroup;
    InputTool* inVisible;
    InputTool* InWeb;
    QLabel* lblFitAcct;
    SpreadGrid* vaSpread;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;

    /// Prepares the dialog: captions, font, account types, the list of groups with the owning
    /// group selected and, in edit mode, the subsystem's fields and previous values. Passes on
    /// failures of the account-type source and of the group listing; in edit mode raises
    /// MissingObject when there is no subsystem to edit.
    void Form_Load();
    void Form_Activate() override;
    /// F1 without a modifier shows the editor's help and is consumed.
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift) override;
    void SetCaptions();
    /// Copies objSubSystem into the fields; a failure ends it silently.
    void FillFromSubSystem();
    /// True when the subsystem was written; false after a reported failure.
    bool Save();

    void cmdSave_Click();
    void cmdCancel_Click() override;

  private:
    std::string AccountTypeList() const;
    void SelectGroup(int32_t groupId);
    void FocusOnError(int32_t offset);
    /// Replaces the user's input with the subsystem as stored now (in the group it is in now);
    /// keeps the input, saying so, when the subsystem is gone.
    void ShowStored();
    /// Remembers the loaded subsystem's identifier and names, which its save checks against.
    void StartEditing();
};

}  // namespace quarn::subsysmgr
