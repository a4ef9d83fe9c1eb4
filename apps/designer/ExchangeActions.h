#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeImport.h"
#include "host/IChangeHistory.h"
#include "suite/HostSession.h"

class QMainWindow;

namespace quarn::designer {

/// Import and export of the command-line tool's exchange files from the designer. An import
/// shows what it would do (ImportDialog) before it writes anything, then writes the items the
/// user chose through ExchangeImport, each in its own transaction, with progress and cancel,
/// and ends with a summary. An export writes the file through a temporary file renamed into
/// place. Failures are shown in a message box over the window; nothing is written then.
class ExchangeActions : public QObject {
    Q_OBJECT

  public:
    ExchangeActions(suite::HostSession& session, QMainWindow* window);

    /// Runs `write` as one step of an undo history: `items` are the stored items it may change,
    /// `count` how many items it writes; `write` returns the items it added.
    using StepRecorder =
        std::function<void(const std::vector<TreeItemRef>& items, std::size_t count,
                           const std::function<std::vector<TreeItemRef>()>& write)>;
    /// From now on each import's writes go through `recorder` (none: written directly).
    void RecordStepsWith(StepRecorder recorder) { recorder_ = std::move(recorder); }

    /// Asks for a file, then imports it as ImportFile does.
    void Import();
    /// Previews the import of `path`, and writes the items the user applies. Returns whether
    /// anything was written. A file that cannot be read or is no complete exchange file is
    /// refused with its reason, and nothing is written.
    bool ImportFile(const QString& path);

    /// Asks for a file and writes the customer-made items to it, as `subsysmgr export` does.
    void ExportAll();
    /// Asks for a file and writes the groups (with all their subsystems) and subsystems given.
    void ExportSelection(const std::unordered_set<int32_t>& groups,
                         const std::unordered_set<int32_t>& subSystems);
    /// Writes the items to `path`, replacing the file only once the new one is complete. Returns
    /// false, after saying why, when it could not.
    bool ExportTo(const QString& path, const subsysmgr::exchange::Exchange& items);

  signals:
    /// An import wrote `done` (the items taken, in the file's order; refused ones among them),
    /// out of the chosen items of the file `chosen`. The tree must be read again. One import is
    /// one step for an undo history.
    void Imported(const subsysmgr::exchange::Exchange& chosen,
                  const std::vector<subsysmgr::exchange::ImportedItem>& done);

  private:
    /// Writes the `chosen` items, which update the stored `updated`, as one step of the recorder
    /// when there is one, with progress and Cancel; the items taken, in the file's order. A
    /// failure is shown; the items written before it stay.
    std::vector<subsysmgr::exchange::ImportedItem> Write(
        subsysmgr::exchange::ExchangeImport& import, const subsysmgr::exchange::Exchange& chosen,
        const std::vector<TreeItemRef>& updated);
    /// Says how many of the `total` chosen items were added, updated, unchanged and refused,
    /// listing the refused; true when any was written.
    bool ShowSummary(const std::vector<subsysmgr::exchange::ImportedItem>& done,
                     std::size_t total) const;
    void Export(const QString& title, const subsysmgr::exchange::Exchange& items);
    void Warn(const QString& message) const;

    suite::HostSession& session_;
    QMainWindow* window_;
    StepRecorder recorder_;
};

}  // namespace quarn::designer
