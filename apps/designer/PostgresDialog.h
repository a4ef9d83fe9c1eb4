#pragma once

#include <QDialog>

class QLineEdit;

namespace quarn::designer {

/// Asks for a PostgreSQL connection string and, in a field that does not show what is typed,
/// an optional password. The texts come translated from the caller.
class PostgresDialog : public QDialog {
    Q_OBJECT

  public:
    PostgresDialog(const QString& title, const QString& connectionLabel,
                   const QString& passwordLabel, QWidget* parent = nullptr);

    /// The connection string as typed, without surrounding blanks.
    QString Connection() const;
    /// The password as typed; empty: libpq's own sources (~/.pgpass, PGPASSWORD) apply.
    QString Password() const;

  private:
    QLineEdit* connection_ = nullptr;
    QLineEdit* password_ = nullptr;
};

}  // namespace quarn::designer
