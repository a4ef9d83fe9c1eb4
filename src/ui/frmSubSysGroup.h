#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/GroupInput.h"
#include "model/SubSysGroup.h"
#include "ui/EditorDialog.h"

class QFrame;
class QLabel;
class QPushButton;

namespace quarn::subsysmgr {

class InputTool;
class SpreadGrid;

/// The group editor: adds a subsystem group (lngStatus 1) or edits one (2). SubSysGroupMgrUI
/// sets the three public fields, runs Form_Load and shows the dialog modally.
///
/// A view of a GroupInput: Save hands the fields to it, and shows its first failure in one
/// message box, moves the focus to the field the failure names and stays open with the input
/// kept.
class frmSubSysGroup : public EditorDialog {
    Q_OBJECT

  public:
    explicit frmSubSysGroup(QWidget* parent = nullptr,
                            std::shared_ptr<ModuleState> module = ModuleState::Current());
    ~frmSubSysGroup() override;

    /// The group being edited. In add mode each save attempt starts with a new group object, so
    /// the code is always judged as entered now.
    std::shared_ptr<SubSysGroup> objSubSysGroup;
    int32_t lngStatus = 0;
    bool bIsBroxAdditon = false;

    // Controls, in tab order; all but the buttons sit in the frame frmCo.
    QFrame* frmCo;
    InputTool* inID;
    InputTool* inIndex;
    InputTool* inName;
    InputTool* inNameCHT;
    InputTool* inNameEN;
    InputTool* inVisible;
    InputTool* InWeb;
    QLabel* lblFitAcct;
    SpreadGrid* vaSpread;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;

    /// Prepares the dialog for its mode: captions, font, the account types, the code range and,
    /// in edit mode, the group's fields. Passes on failures of the account-type source.
    void Form_Load();
    void Form_Activate() override;
    /// F1 without a modifier shows the editor's help and is consumed.
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift) override;
    void SetCaptions();
    /// Copies objSubSysGroup into the fields; a failure ends it silently.
    void FillFromGroup();
    /// True when the group was handed over and saved without an error; false after a reported
    /// failure, and false without a message when there is no group outside add mode.
    bool Save() override;

  private:
    /// The input of this dialog's mode, made by Form_Load (or the first save without it).
    GroupInput& Input();
    void FocusOn(InputField field) override;
    SharedFieldWidgets Widgets() const {
        return {inID, inIndex, inName, inNameCHT, inNameEN, inVisible, InWeb, vaSpread};
    }
    /// Replaces the user's input with the group as stored now; keeps the input, saying so,
    /// when the group is gone.
    void ShowStored() override;
    bool IsBroxAddition() const { return lngStatus == kStatusAdd && bIsBroxAdditon; }

    std::unique_ptr<GroupInput> input_;
};

}  // namespace quarn::subsysmgr
