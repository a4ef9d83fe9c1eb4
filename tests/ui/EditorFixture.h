#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "fakes/FakeSuite.h"

class QWidget;
class QDialog;
class QTimer;

namespace quarn::subsysmgr {

/// A suite with account types 1, 2, 3, 7, 8 and 13 and a small tree: delivered group 5, customer
/// groups 850 (subsystems 8001-8003) and 851, Brox group 10500. Texts come back as "[CHS]text"
/// from the fake resource loader.
class EditorFixture : public ::testing::Test {
  public:
    /// Shows a dialog and waits until it is the active window, so that focus is real.
    static void ShowActive(QWidget& dialog);
    /// Whether the application's focus is in the field.
    static bool HasFocus(const QWidget* field);

  protected:
    EditorFixture();
    /// Takes away Qt's translations that the test installed, so Qt's texts are English again.
    ~EditorFixture() override;

    /// How many rows were deleted or created.
    std::size_t Writes() const;
    /// The stored group or subsystem, or nullptr.
    template <class Row>
    static const Row* Stored(const std::vector<Row>& rows, int32_t id) {
        const auto it =
            std::find_if(rows.begin(), rows.end(), [id](auto& row) { return row.id == id; });
        return it == rows.end() ? nullptr : &*it;
    }

    fakes::FakeSuite suite;
};

/// Runs an action on the modal dialog that the next exec() opens, while the script lives. A
/// safety timer rejects every modal dialog after a few seconds, so a failed check never leaves
/// exec() hanging.
class ModalScript {
  public:
    explicit ModalScript(std::function<void(QDialog&)> action);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Ran() const { return ran_; }

  private:
    QTimer* act_;
    QTimer* safety_;
    bool ran_ = false;
};

}  // namespace quarn::subsysmgr
