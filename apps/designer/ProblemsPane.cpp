#include "ProblemsPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "exchange/ExchangeText.h"
#include "exchange/TreeCheck.h"
#include "foundation/ComError.h"
#include "runtime/ErrorMessage.h"
#include "ui/QtText.h"

namespace quarn::designer {

namespace {

using subsysmgr::ToQString;

constexpr int kGroupRole = Qt::UserRole;
constexpr int kSubSystemRole = Qt::UserRole + 1;
// A check this quick is run again with every reload; a longer one waits for Check Again.
constexpr qint64 kQuickCheckMs = 200;

}  // namespace

ProblemsPane::ProblemsPane(suite::HostSession& session, QWidget* parent)
    : QDockWidget(parent), session_(session) {
    setObjectName(QStringLiteral("problems"));
    auto* content = new QWidget(this);
    summary_ = new QLabel(content);
    summary_->setWordWrap(true);
    checkAgain_ = new QPushButton(content);
    checkAgain_->setObjectName(QStringLiteral("checkAgain"));
    connect(checkAgain_, &QPushButton::clicked, this, &ProblemsPane::Fill);
    auto* top = new QHBoxLayout;
    top->addWidget(summary_, 1);
    top->addWidget(checkAgain_);
    findings_ = new QTreeWidget(content);
    findings_->setObjectName(QStringLiteral("problemList"));
    findings_->setColumnCount(4);
    findings_->setRootIsDecorated(false);
    findings_->setUniformRowHeights(true);
    findings_->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(findings_);
    setWidget(content);
    connect(findings_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* line) { Choose(line); });
    Retranslate();
}

void ProblemsPane::Retranslate() {
    setWindowTitle(Tr(texts::kProblemsTitle));
    checkAgain_->setText(Tr(texts::kCheckAgain));
    findings_->setHeaderLabels({Tr(texts::kImportItem), Tr(texts::kProblemRule),
                                Tr(texts::kProblemMessage), Tr(texts::kProblemRemedy)});
    findings_->setAccessibleName(Tr(texts::kProblemsTitle));
}

void ProblemsPane::Refresh() {
    stale_ = true;
    if (!isVisible()) {
        return;
    }
    if (lastCheckMs_ < kQuickCheckMs) {
        Fill();
    } else {
        summary_->setText(found_ + QStringLiteral(" ") + Tr(texts::kProblemsOutdated));
    }
}

void ProblemsPane::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    if (stale_) {
        Fill();
    }
}

void ProblemsPane::Fill() {
    stale_ = false;
    findings_->clear();
    std::vector<subsysmgr::exchange::TreeFinding> found;
    QElapsedTimer checking;
    checking.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const subsysmgr::exchange::ExchangeText text(session_.Registry(), session_.Language());
        found = subsysmgr::exchange::CheckTree(session_.Module(), text,
                                               session_.MissingHistoryProtections(),
                                               session_.MissingValueRules());
    } catch (const ComError& error) {
        QApplication::restoreOverrideCursor();
        found_.clear();
        summary_->setText(ToQString(subsysmgr::ErrorMessage(*session_.Module(), error)));
        return;
    }
    QApplication::restoreOverrideCursor();
    lastCheckMs_ = checking.elapsed();
    found_ = found.empty() ? Tr(texts::kNoProblems)
                           : Counted(texts::kProblemCount, static_cast<qlonglong>(found.size()));
    summary_->setText(found_);
    for (const auto& finding : found) {
        auto* line = new QTreeWidgetItem(findings_,
                                         {ToQString(finding.item), ToQString(*finding.ruleText),
                                          ToQString(*finding.message), ToQString(*finding.remedy)});
        const bool subSystem = finding.kind == "subsystem";
        line->setData(0, kGroupRole, subSystem ? finding.group : finding.id);
        line->setData(0, kSubSystemRole, subSystem ? finding.id : 0);
        for (int column = 0; column < findings_->columnCount(); ++column) {
            line->setToolTip(column, line->text(column));
        }
    }
    for (int column = 0; column < 3; ++column) {
        findings_->resizeColumnToContents(column);
    }
    findings_->setAccessibleDescription(summary_->text());
}

void ProblemsPane::Choose(QTreeWidgetItem* line) {
    const int groupId = line->data(0, kGroupRole).toInt();
    if (groupId != 0) {
        emit ItemChosen(groupId, line->data(0, kSubSystemRole).toInt());
    }
}

}  // namespace quarn::designer
