#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "model/SubSystemInput.h"
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
/// A view of a SubSystemInput: Save hands the fields to it, and shows its first failure in one
/// message box, moves the focus to the field the failure names and stays open with the input
/// kept.
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
    /// Copies objSubSystem into the fields and remembers its code and names, which its own save
    /// may keep; a failure ends it silently.
    void FillFromSubSystem();
    /// True when the subsystem was written; false after a reported failure.
    bool Save() override;

  private:
    /// The input of this dialog's mode, made by Form_Load (or the first save without it).
    SubSystemInput& Input();
    void SelectGroup(int32_t groupId);
    void FocusOn(InputField field) override;
    SharedFieldWidgets Widgets() const {
        return {inID, inIndex, inName, inNameCHT, inNameEN, inVisible, InWeb, vaSpread};
    }
    /// Replaces the user's input with the subsystem as stored now (in the group it is in now);
    /// keeps the input, saying so, when the subsystem is gone.
    void ShowStored() override;

    std::unique_ptr<SubSystemInput> input_;
};

}  // namespace quarn::subsysmgr
