#pragma once

#include <QWidget>

#include "foundation/ComError.h"

class QLabel;
class QPushButton;

namespace quarn::designer {

/// What the window shows in place of the tree while it cannot read the session's database: that
/// no database is open, the reason as an error box words it, and three ways on (Open..., New
/// Database..., Retry) that the window connects to its actions. The first button takes the
/// focus; the texts are the accessible names; the colours are the palette's.
class NoDatabasePanel : public QWidget {
    Q_OBJECT

  public:
    explicit NoDatabasePanel(QWidget* parent = nullptr);

    /// Says why: the error's message with its reason and number, in the session language.
    void ShowReason(const ComError& error);
    void Retranslate();

  signals:
    void OpenRequested();
    void NewRequested();
    void RetryRequested();

  private:
    QLabel* statement_;
    QLabel* reason_;
    QPushButton* open_;
    QPushButton* create_;
    QPushButton* retry_;
};

}  // namespace quarn::designer
