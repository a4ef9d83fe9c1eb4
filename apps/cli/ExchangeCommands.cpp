// export and import of the customer-made groups and subsystems (and those of the Brox
// platform), to move customisations from one database to another; import --dry-run shows what
// an import would do.

#include <CLI/CLI.hpp>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <system_error>

#include "CliErrors.h"
#include "Commands.h"
#include "InvalidTextWarning.h"
#include "Printable.h"
#include "exchange/AtomicFile.h"
#include "exchange/ExchangeErrors.h"
#include "exchange/ExchangeExport.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeImport.h"
#include "exchange/FieldText.h"

namespace quarn::subsysmgr::cli {

std::string ReadInput(CliContext& context, const std::string& file) {
    std::ostringstream content;
    if (file.empty() || file == "-") {
        content << context.in.rdbuf();
        return content.str();
    }
    std::ifstream stream(file, std::ios::binary);
    content << stream.rdbuf();
    if (!stream) {
        context.Text().Raise(exchange::errors::kFileUnreadable, {file});
    }
    return content.str();
}

namespace {

// An export must give back exactly what is stored: an item holding bytes that are not UTF-8 is
// refused by name, unless the user asked for U+FFFD in their place.
template <class Item>
void CheckText(CliContext& context, const Item& item, std::string_view kind, bool replaceInvalid) {
    if (replaceInvalid) {
        WarnOfInvalidText(context, item, InvalidBytes::Replaced);
        return;
    }
    const std::vector<std::string> fields = InvalidTextFields(*context.Session(), item);
    if (!fields.empty()) {
        const ExchangeText& text = context.Text();
        text.Raise(exchange::errors::kInvalidTextNotExported,
                   {text.Text(kind), item.id, fields[0]});
    }
}

void Export(CliContext& context, const std::string& file, bool replaceInvalid) {
    const auto module = context.Session();
    // The items are written as they are read; a refused one ends the export before anything is
    // written.
    ExchangeWriter writer(ExportHead(module));
    EachCustomerItem(
        module,
        [&](const GroupItem& group) {
            CheckText(context, group, "group", replaceInvalid);
            writer.Add(group);
        },
        [&](const SubSystemItem& subSystem) {
            CheckText(context, subSystem, "subsystem", replaceInvalid);
            writer.Add(subSystem);
        });
    const std::vector<std::string> content = writer.Finish();
    if (file.empty()) {
        for (const std::string& part : content) {
            context.out << part;
        }
        return;
    }
    // A failed export leaves the previous file as it was.
    try {
        WriteFileAtomically(file, content);
    } catch (const std::system_error&) {
        context.Text().Raise(exchange::errors::kFileUnwritable, {file});
    }
}

Json ChangesJson(const std::vector<FieldDifference>& changes) {
    Json list = Json::array();
    for (const FieldDifference& change : changes) {
        list.push_back({{"field", change.key}, {"old", change.before}, {"new", change.after}});
    }
    return list;
}

void Report(CliContext& context, const std::vector<ImportedItem>& items, bool dryRun) {
    constexpr ImportOutcome kOutcomes[] = {ImportOutcome::Added, ImportOutcome::Updated,
                                           ImportOutcome::Unchanged, ImportOutcome::Refused};
    std::map<ImportOutcome, int32_t> counts;
    for (const ImportedItem& item : items) {
        ++counts[item.outcome];
    }
    if (counts[ImportOutcome::Refused] > 0) {
        context.exitCode = kExitRefused;
    }
    if (context.options.json) {
        Json list = Json::array();
        for (const ImportedItem& item : items) {
            Json entry{
                {"kind", item.kind}, {"id", item.id}, {"outcome", OutcomeName(item.outcome)}};
            if (!item.changes.empty()) {
                entry["changes"] = ChangesJson(item.changes);
            }
            if (item.error) {
                entry["error"] = ErrorJson(*item.error);
            }
            list.push_back(std::move(entry));
        }
        Json report{{"dryRun", dryRun}, {"items", std::move(list)}};
        for (const ImportOutcome outcome : kOutcomes) {
            report[std::string(OutcomeName(outcome))] = counts[outcome];
        }
        context.Print(report);
        return;
    }
    const ExchangeText& text = context.Text();
    const FieldText fields(context.Session(), text);
    for (const ImportedItem& item : items) {
        context.out << text.Text(item.kind) << ' ' << item.id << ": "
                    << text.Text(OutcomeName(item.outcome));
        if (item.error) {
            context.out << ", " << ErrorLine(*item.error);
        }
        context.out << '\n';
        const auto kind =
            item.kind == "group" ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem;
        for (const FieldDifference& change : item.changes) {
            context.out << "  " << fields.Caption(kind, change.key) << ": "
                        << Printable(fields.Value(change.key, change.before)) << " -> "
                        << Printable(fields.Value(change.key, change.after)) << '\n';
        }
    }
    const std::vector<Variant> numbers{counts[ImportOutcome::Added], counts[ImportOutcome::Updated],
                                       counts[ImportOutcome::Unchanged],
                                       counts[ImportOutcome::Refused]};
    context.out << text.Format(dryRun ? "Dry run, nothing was written: %1 to add, %2 to update, "
                                        "%3 unchanged, %4 refused."
                                      : "%1 added, %2 updated, %3 unchanged, %4 refused.",
                               numbers)
                << '\n';
}

void Import(CliContext& context, const std::string& file, bool dryRun) {
    // Each item is decided on the database as the import found it and written over only while
    // it is still so: an item that someone else changes or deletes meanwhile is refused with
    // error 1042 instead of losing their change. Reading writes nothing, so this may come
    // before the file is read.
    ExchangeImport import(context.Session(), context.Text());
    // The whole file is read before anything is written: a malformed one changes nothing.
    const Exchange exchange = ReadExchange(
        ReadInput(context, file), file.empty() || file == "-" ? "<stdin>" : file, context.Text());
    Report(context, dryRun ? import.Preview(exchange) : import.Run(exchange), dryRun);
}

}  // namespace

void AddExchangeCommands(CLI::App& app, CliContext& context) {
    auto* exportCommand = app.add_subcommand(
        "export", "Write the customer-made and Brox groups and subsystems as JSON");
    auto exportFile = std::make_shared<std::string>();
    exportCommand->add_option("--file", *exportFile,
                              "Write to this file (replaced whole) instead of the output");
    auto replaceInvalid = std::make_shared<bool>(false);
    exportCommand->add_flag("--replace-invalid", *replaceInvalid,
                            "Write U+FFFD for stored bytes that are not UTF-8 instead of refusing "
                            "the export");
    exportCommand->callback(
        [&context, exportFile, replaceInvalid] { Export(context, *exportFile, *replaceInvalid); });

    auto* importCommand =
        app.add_subcommand("import", "Add or update the groups and subsystems of an export file");
    auto importFile = std::make_shared<std::string>();
    auto dryRun = std::make_shared<bool>(false);
    importCommand->add_option("--file", *importFile,
                              "The export file; without it (or with -) the input");
    importCommand->add_flag("--dry-run", *dryRun,
                            "Show what the import would do, field by field, and write nothing");
    importCommand->callback(
        [&context, importFile, dryRun] { Import(context, *importFile, *dryRun); });
}

}  // namespace quarn::subsysmgr::cli
