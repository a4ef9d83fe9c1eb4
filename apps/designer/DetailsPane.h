#pragma once

#include <QTextBrowser>

namespace quarn::designer {

/// The Details tab: the stored fields of a group or subsystem under the editors' captions, its
/// account types by their descriptions, in the session language. Screen readers read it as plain
/// lines of "caption: value".
class DetailsPane : public QTextBrowser {
    Q_OBJECT

  public:
    explicit DetailsPane(QWidget* parent = nullptr);

    /// Shows the item of the functional tree at `item` when it is a group or a subsystem, and
    /// nothing otherwise. A read that fails is shown in the component's message box.
    void Show(const QModelIndex& item);
    void Retranslate();

  private:
    class DetailsPaneAccessible;

    QString plain_;  // what is shown, as plain lines
};

}  // namespace quarn::designer
