#include "ExchangeActions.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <array>
#include <optional>
#include <system_error>

#include "DesignerTexts.h"
#include "ImportDialog.h"
#include "LongWork.h"
#include "SessionText.h"
#include "WholeFile.h"
#include "exchange/AtomicFile.h"
#include "exchange/ExchangeErrors.h"
#include "exchange/ExchangeExport.h"
#include "exchange/ExchangeText.h"
#include "exchange/InvalidText.h"
#include "foundation/ComError.h"
#include "runtime/ErrorMessage.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ToQString;
using subsysmgr::exchange::Exchange;
using subsysmgr::exchange::ExchangeImport;
using subsysmgr::exchange::ExchangeText;
using subsysmgr::exchange::ImportedItem;
using subsysmgr::exchange::ImportOutcome;

namespace {

const QString kFileTypes = QStringLiteral("JSON (*.json);;* (*)");
// Refusals listed by name in the summary; the rest are counted.
constexpr qsizetype kListedRefusals = 20;

QString ErrorText(const ComError& error) {
    return ToQString(subsysmgr::ErrorMessage(*subsysmgr::ModuleState::Current(), error));
}

// A refused item's line of the summary: its reason with the number.
QString Refusal(const ImportedItem& item) {
    if (!item.error) {
        return {};
    }
    return ToQString(item.error->Description()) +
           QStringLiteral(" (%1)").arg(ToQString(
               subsysmgr::ErrorNumberText(*subsysmgr::ModuleState::Current(), *item.error)));
}

TreeItemRef Ref(const ImportedItem& item) {
    return {item.kind == "group" ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem,
            item.id};
}

}  // namespace

ExchangeActions::ExchangeActions(suite::HostSession& session, QMainWindow* window)
    : QObject(window), session_(session), window_(window) {}

void ExchangeActions::Warn(const QString& message) const {
    QMessageBox::warning(window_, Tr(texts::kWindowTitle), message);
}

void ExchangeActions::Import() {
    const QString path =
        QFileDialog::getOpenFileName(window_, Tr(texts::kImportTitle), QString(), kFileTypes);
    if (!path.isEmpty()) {
        ImportFile(path);
    }
}

bool ExchangeActions::ImportFile(const QString& path) {
    // The import refers to the texts; both live until the last item is written.
    const ExchangeText text(session_.Registry(), session_.Language());
    Exchange exchange;
    std::optional<ExchangeImport> import;
    std::vector<ImportedItem> preview;
    try {
        // The whole file is read and checked before anything else: a broken one gives no items.
        exchange = subsysmgr::exchange::ReadExchange(
            ReadWholeFile(path, text), QFileInfo(path).fileName().toStdString(), text);
        import.emplace(session_.Module(), text);
        LongWork work(window_, Tr(texts::kImportChecking));
        preview = import->Preview(exchange, [&](std::size_t done, std::size_t total) {
            return work.Step(static_cast<int64_t>(done), static_cast<int64_t>(total));
        });
    } catch (const ComError& error) {
        Warn(Tr(texts::kImportRefused) + QStringLiteral("\n\n") + ErrorText(error));
        return false;
    }
    if (preview.size() < exchange.groups.size() + exchange.subSystems.size()) {
        return false;  // the preview was cancelled
    }

    const subsysmgr::exchange::FieldText fields(session_.Module(), text);
    ImportDialog dialog(exchange, preview, session_.Language(), fields, window_);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen().empty()) {
        return false;
    }
    const Exchange chosen = ImportDialog::Selected(exchange, dialog.Chosen());
    std::vector<TreeItemRef> updated;
    for (const std::size_t position : dialog.Chosen()) {
        if (preview[position].outcome == ImportOutcome::Updated) {
            updated.push_back(Ref(preview[position]));
        }
    }
    const std::vector<ImportedItem> done = Write(*import, chosen, updated);
    emit Imported(chosen, done);
    return ShowSummary(done, chosen.groups.size() + chosen.subSystems.size());
}

std::vector<ImportedItem> ExchangeActions::Write(ExchangeImport& import, const Exchange& chosen,
                                                 const std::vector<TreeItemRef>& updated) {
    std::vector<ImportedItem> done;
    LongWork work(window_, Tr(texts::kImporting));
    const auto write = [&] {
        done = import.Run(chosen, [&](std::size_t count, std::size_t all) {
            return work.Step(static_cast<int64_t>(count), static_cast<int64_t>(all));
        });
        std::vector<TreeItemRef> added;
        for (const ImportedItem& item : done) {
            if (item.outcome == ImportOutcome::Added) {
                added.push_back(Ref(item));
            }
        }
        return added;
    };
    try {
        if (!recorder_) {
            write();
        } else {
            recorder_(updated, chosen.groups.size() + chosen.subSystems.size(), write);
        }
    } catch (const ComError& error) {
        // Each item is written in its own transaction: those before the failure stay.
        Warn(ErrorText(error));
    }
    return done;
}

bool ExchangeActions::ShowSummary(const std::vector<ImportedItem>& done, std::size_t total) const {
    std::array<int, 4> counts{};
    QStringList refusals;
    for (const ImportedItem& item : done) {
        ++counts[static_cast<std::size_t>(item.outcome)];
        if (item.outcome == ImportOutcome::Refused && refusals.size() < kListedRefusals) {
            refusals << QStringLiteral("%1 %2: %3")
                            .arg(Tr(item.kind == "group" ? texts::kGroupCaption
                                                         : texts::kSubSystemCaption))
                            .arg(item.id)
                            .arg(Refusal(item));
        }
    }
    const auto count = [&counts](ImportOutcome outcome) {
        return counts[static_cast<std::size_t>(outcome)];
    };
    const auto countText = [&count](ImportOutcome outcome) {
        return CountText(static_cast<qlonglong>(count(outcome)));
    };
    QString summary =
        Tr(texts::kImportDone)
            .arg(countText(ImportOutcome::Added), countText(ImportOutcome::Updated),
                 countText(ImportOutcome::Unchanged), countText(ImportOutcome::Refused));
    if (done.size() < total) {
        summary += QStringLiteral("\n") +
                   Counted(texts::kImportStopped, static_cast<qlonglong>(total - done.size()));
    }
    QMessageBox box(
        count(ImportOutcome::Refused) > 0 ? QMessageBox::Warning : QMessageBox::Information,
        Tr(texts::kImportTitle), summary, QMessageBox::Ok, window_);
    box.setObjectName(QStringLiteral("importSummary"));
    if (!refusals.isEmpty()) {
        box.setDetailedText(refusals.join(u'\n'));
    }
    box.exec();
    return count(ImportOutcome::Added) + count(ImportOutcome::Updated) > 0;
}

void ExchangeActions::ExportAll() {
    Exchange items;
    try {
        items = subsysmgr::exchange::CustomerItems(session_.Module());
    } catch (const ComError& error) {
        Warn(ErrorText(error));
        return;
    }
    Export(Tr(texts::kExportAll), items);
}

void ExchangeActions::ExportSelection(const std::unordered_set<int32_t>& groups,
                                      const std::unordered_set<int32_t>& subSystems) {
    Exchange items;
    try {
        items = subsysmgr::exchange::ChosenItems(session_.Module(), groups, subSystems);
    } catch (const ComError& error) {
        Warn(ErrorText(error));
        return;
    }
    Export(Tr(texts::kExportSelection), items);
}

void ExchangeActions::Export(const QString& title, const Exchange& items) {
    QString path = QFileDialog::getSaveFileName(window_, title, QString(), kFileTypes);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".json");
    }
    ExportTo(path, items);
}

bool ExchangeActions::ExportTo(const QString& path, const Exchange& items) {
    // An export holds every text exactly: one that another program stored as invalid UTF-8 is
    // named, and nothing is written, until it is corrected.
    const ExchangeText text(session_.Registry(), session_.Language());
    const auto refuse = [&](const char* kind, int32_t id, const std::vector<std::string>& fields) {
        try {
            text.Raise(subsysmgr::exchange::errors::kInvalidTextNotExported,
                       {text.Text(kind), id, fields.front()});
        } catch (const ComError& error) {
            Warn(ErrorText(error));
        }
        return false;
    };
    for (const auto& group : items.groups) {
        if (const auto fields = subsysmgr::exchange::InvalidTextFields(*session_.Module(), group);
            !fields.empty()) {
            return refuse("group", group.id, fields);
        }
    }
    for (const auto& subSystem : items.subSystems) {
        if (const auto fields =
                subsysmgr::exchange::InvalidTextFields(*session_.Module(), subSystem);
            !fields.empty()) {
            return refuse("subsystem", subSystem.id, fields);
        }
    }
    try {
        subsysmgr::exchange::WriteFileAtomically(path.toStdString(),
                                                 subsysmgr::exchange::WriteExchange(items));
    } catch (const std::system_error&) {
        // The file is as it was.
        try {
            text.Raise(subsysmgr::exchange::errors::kFileUnwritable, {path.toStdString()});
        } catch (const ComError& error) {
            Warn(ErrorText(error));
        }
        return false;
    }
    window_->statusBar()->showMessage(
        Tr(texts::kExported)
            .arg(Counted(texts::kGroupCount, static_cast<qlonglong>(items.groups.size())),
                 Counted(texts::kSubSystemCount, static_cast<qlonglong>(items.subSystems.size())),
                 QDir::toNativeSeparators(path)));
    return true;
}

}  // namespace quarn::designer
