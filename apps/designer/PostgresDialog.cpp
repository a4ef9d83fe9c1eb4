#include "PostgresDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quarn::designer {

PostgresDialog::PostgresDialog(const QString& title, const QString& connectionLabel,
                               const QString& passwordLabel, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    connection_ = new QLineEdit(this);
    connection_->setObjectName(QStringLiteral("connection"));
    connection_->setMinimumWidth(420);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);

    // Labels with buddies: their accelerators move the focus to the field.
    auto* connectionCaption = new QLabel(connectionLabel, this);
    connectionCaption->setBuddy(connection_);
    auto* passwordCaption = new QLabel(passwordLabel, this);
    passwordCaption->setBuddy(password_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->setRowWrapPolicy(QFormLayout::WrapAllRows);
    layout->addRow(connectionCaption, connection_);
    layout->addRow(passwordCaption, password_);
    layout->addRow(buttons);
    connection_->setFocus();
}

QString PostgresDialog::Connection() const {
    return connection_->text().trimmed();
}

QString PostgresDialog::Password() const {
    return password_->text();
}

}  // namespace quarn::designer
