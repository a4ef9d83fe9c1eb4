#include "NoDatabasePanel.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>
#include <utility>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "runtime/ErrorMessage.h"
#include "ui/CaptionText.h"

namespace quarn::designer {

NoDatabasePanel::NoDatabasePanel(QWidget* parent)
    : QWidget(parent),
      statement_(new QLabel(this)),
      reason_(new QLabel(this)),
      open_(new QPushButton(this)),
      create_(new QPushButton(this)),
      retry_(new QPushButton(this)) {
    setObjectName(QStringLiteral("noDatabase"));
    open_->setObjectName(QStringLiteral("noDatabaseOpen"));
    create_->setObjectName(QStringLiteral("noDatabaseNew"));
    retry_->setObjectName(QStringLiteral("noDatabaseRetry"));
    // Emphasis by weight and size, never by a colour of our own.
    QFont emphasized = statement_->font();
    emphasized.setBold(true);
    emphasized.setPointSizeF(emphasized.pointSizeF() * 1.2);
    statement_->setFont(emphasized);
    reason_->setWordWrap(true);
    reason_->setTextFormat(Qt::PlainText);
    statement_->setTextFormat(Qt::PlainText);
    // The reason can be copied into a question to an administrator.
    reason_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFocusProxy(open_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(create_);
    buttons->addWidget(retry_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(statement_);
    layout->addWidget(reason_);
    layout->addSpacing(reason_->fontMetrics().height());
    layout->addLayout(buttons);
    layout->addStretch(2);
    layout->setContentsMargins(24, 12, 24, 12);

    connect(open_, &QPushButton::clicked, this, &NoDatabasePanel::OpenRequested);
    connect(create_, &QPushButton::clicked, this, &NoDatabasePanel::NewRequested);
    connect(retry_, &QPushButton::clicked, this, &NoDatabasePanel::RetryRequested);
    Retranslate();
}

void NoDatabasePanel::ShowReason(const ComError& error) {
    reason_->setText(
        subsysmgr::ToQString(subsysmgr::ErrorMessage(*subsysmgr::ModuleState::Current(), error)));
    reason_->setAccessibleName(reason_->text());
    setAccessibleDescription(reason_->text());
}

void NoDatabasePanel::Retranslate() {
    statement_->setText(Tr(texts::kNoDatabase));
    statement_->setAccessibleName(statement_->text());
    setAccessibleName(statement_->text());
    const std::pair<QPushButton*, std::string_view> named[] = {
        {open_, texts::kOpenDatabase},
        {create_, texts::kNewDatabase},
        {retry_, texts::kRetry},
    };
    for (const auto& [button, text] : named) {
        button->setText(Tr(text));
        button->setAccessibleName(subsysmgr::WithoutMnemonic(button->text()));
    }
}

}  // namespace quarn::designer
