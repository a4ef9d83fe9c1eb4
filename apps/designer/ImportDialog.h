#pragma once

#include <QDialog>
#include <cstddef>
#include <string>
#include <vector>

#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeImport.h"
#include "exchange/FieldText.h"

class QDialogButtonBox;
class QPushButton;
class QTreeWidget;

namespace quarn::designer {

/// What an import would do, item by item, for the user to choose from: each item of the file
/// with its outcome (added, changed with its fields from old to new, unchanged, or refused with
/// the reason) and a check box, which a refused item does not have. Apply all takes every item
/// that is not refused, Apply chosen the ticked ones; the dialog writes nothing itself.
class ImportDialog : public QDialog {
    Q_OBJECT

  public:
    /// `preview` holds what ExchangeImport::Preview said of `exchange`'s items, in their order
    /// (groups, then subsystems); names are shown in `language`, fields and values as `fields`
    /// words them.
    ImportDialog(const subsysmgr::exchange::Exchange& exchange,
                 const std::vector<subsysmgr::exchange::ImportedItem>& preview,
                 const std::string& language, const subsysmgr::exchange::FieldText& fields,
                 QWidget* parent = nullptr);

    /// The items to apply, by their position in the preview, once the dialog was accepted.
    std::vector<std::size_t> Chosen() const { return chosen_; }
    /// The file's items at those positions.
    static subsysmgr::exchange::Exchange Selected(const subsysmgr::exchange::Exchange& exchange,
                                                  const std::vector<std::size_t>& positions);

  private:
    /// Apply all, Apply chosen (enabled when some item is `applicable`) and Cancel.
    QDialogButtonBox* CreateButtons(bool applicable);
    void Accept(bool all);

    QTreeWidget* items_;
    QPushButton* applyChosen_;
    std::vector<std::size_t> chosen_;
};

}  // namespace quarn::designer
