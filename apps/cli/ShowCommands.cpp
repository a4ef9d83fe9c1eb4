// show group N and show subsystem N: every field under the editors' captions, and a subsystem's
// business objects.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <memory>
#include <utility>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "InvalidTextWarning.h"
#include "Printable.h"
#include "exchange/ExchangeErrors.h"
#include "exchange/FieldCaption.h"
#include "exchange/TreeReader.h"
#include "foundation/Dictionary.h"
#include "foundation/Utf8Text.h"
#include "foundation/Vector.h"
#include "model/GroupEditorTexts.h"
#include "model/SubSystemEditorTexts.h"

namespace quarn::subsysmgr::cli {

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

void PrintLines(CliContext& context, const Lines& lines) {
    std::size_t width = 0;
    for (const auto& [label, value] : lines) {
        width = std::max(width, text::CodePointCount(label));
    }
    for (const auto& [label, value] : lines) {
        const std::size_t padding = width - text::CodePointCount(label);
        context.out << label << ": " << std::string(padding, ' ') << value << '\n';
    }
}

void ShowGroup(CliContext& context, int32_t id) {
    const auto module = context.Session();
    const auto group = TreeReader(module).FindGroup(id);
    if (!group) {
        context.Text().Raise(exchange::errors::kUnknownGroup, {id});
    }
    WarnOfInvalidText(context, *group, ShownInvalidBytes(context));
    if (context.options.json) {
        context.Print(ToJson(*group));
        return;
    }
    using namespace group_editor;
    const ExchangeText& text = context.Text();
    PrintLines(context,
               {
                   {FieldCaption(*module, kIdCaption), std::to_string(group->id)},
                   {FieldCaption(*module, kNameCaption), Printable(group->names.chs)},
                   {FieldCaption(*module, kNameCHTCaption), Printable(group->names.cht)},
                   {FieldCaption(*module, kNameENCaption), Printable(group->names.en)},
                   {FieldCaption(*module, kIndexCaption), std::to_string(group->index)},
                   {FieldCaption(*module, kVisibleCaption), text.YesNo(group->visible)},
                   {FieldCaption(*module, kWebCaption), text.YesNo(group->web)},
                   {FieldCaption(*module, kFitAcctCaption), AccountTypeText(group->accountTypes)},
               });
}

// The kinds of business objects GetAllBusObject lists: key, JSON name, caption.
struct ObjectKind {
    const char* key;
    const char* json;
    const char* caption;
};
constexpr ObjectKind kObjectKinds[] = {
    {"TBASE", "baseDataTypes", "Base data types"},
    {"TBILL", "bills", "Bills"},
    {"TMULTICHECK", "approvalFlows", "Approval flows"},
    {"TFLOW", "workFlows", "Work flows"},
};
constexpr ObjectKind kReportKinds[] = {
    {"TREPORT_SQL", "sqlReports", "SQL reports"},
    {"TREPORT_CROSS", "crossTabReports", "Cross-tab reports"},
    {"TREPORT_NEWCROSS", "newCrossTabReports", "New cross-tab reports"},
};

// Every listing of the complete entry, in the order of the kinds, as FID/FName pairs.
std::vector<std::pair<const ObjectKind*, VectorPtr>> BusinessObjects(SubSystem& subSystem) {
    const VectorPtr all = subSystem.GetAllBusObject();
    const DictionaryPtr complete = all->Item(all->Count() - 1).AsDictionary();
    std::vector<std::pair<const ObjectKind*, VectorPtr>> lists;
    for (const ObjectKind& kind : kObjectKinds) {
        lists.emplace_back(&kind, complete->Item(kind.key).AsVector());
    }
    const DictionaryPtr reports = complete->Item("TREPORT").AsVector()->Item(0).AsDictionary();
    for (const ObjectKind& kind : kReportKinds) {
        lists.emplace_back(&kind, reports->Item(kind.key).AsVector());
    }
    return lists;
}

void ShowSubSystem(CliContext& context, int32_t id) {
    const auto module = context.Session();
    const auto loaded = TreeReader(module).LoadSubSystem(id);
    if (!loaded) {
        context.Text().Raise(exchange::errors::kUnknownSubSystem, {id});
    }
    const SubSystemItem item = TreeReader::ItemOf(*loaded->subSystem);
    WarnOfInvalidText(context, item, ShownInvalidBytes(context));
    const auto objects = BusinessObjects(*loaded->subSystem);
    if (context.options.json) {
        Json json = ToJson(item);
        Json& lists = json["businessObjects"] = Json::object();
        for (const auto& [kind, entries] : objects) {
            Json& list = lists[kind->json] = Json::array();
            for (const Variant& entry : entries->Items()) {
                const DictionaryPtr object = entry.AsDictionary();
                list.push_back({{"id", object->Item("FID").ToInt32()},
                                {"name", object->Item("FName").TextOrEmpty()}});
            }
        }
        context.Print(json);
        return;
    }
    using namespace subsystem_editor;
    const ExchangeText& text = context.Text();
    const std::string language = context.options.language;
    const auto group = TreeReader(module).FindGroup(item.group);
    PrintLines(
        context,
        {
            {FieldCaption(*module, kIdCaption), std::to_string(item.id)},
            {FieldCaption(*module, kNameCaption), Printable(item.names.chs)},
            {FieldCaption(*module, kNameCHTCaption), Printable(item.names.cht)},
            {FieldCaption(*module, kNameENCaption), Printable(item.names.en)},
            {FieldCaption(*module, kNumberCaption), Printable(item.number)},
            {FieldCaption(*module, kGroupCaption),
             fmt::format("{} {}", item.group, group ? Printable(group->names.In(language)) : "")},
            {FieldCaption(*module, kIndexCaption), std::to_string(item.index)},
            {FieldCaption(*module, kVisibleCaption), text.YesNo(item.visible)},
            {FieldCaption(*module, kWebCaption), text.YesNo(item.web)},
            {FieldCaption(*module, kFitAcctCaption), AccountTypeText(item.accountTypes)},
        });
    for (const auto& [kind, entries] : objects) {
        context.out << text.Text(kind->caption) << ":\n";
        for (const Variant& entry : entries->Items()) {
            const DictionaryPtr object = entry.AsDictionary();
            context.out << fmt::format("  {:>6}  {}\n", object->Item("FID").ToInt32(),
                                       Printable(object->Item("FName").TextOrEmpty()));
        }
    }
}

}  // namespace

void AddShowCommands(CLI::App& app, CliContext& context) {
    auto* show = app.add_subcommand("show", "Every field of one group or subsystem");
    show->require_subcommand(1);
    auto id = std::make_shared<int32_t>(0);
    auto* group = show->add_subcommand("group", "A group");
    group->add_option("id", *id, "Identifier")->transform(DecimalNumber())->required();
    group->callback([&context, id] { ShowGroup(context, *id); });
    auto* subSystem = show->add_subcommand("subsystem", "A subsystem with its business objects");
    subSystem->add_option("id", *id, "Identifier")->transform(DecimalNumber())->required();
    subSystem->callback([&context, id] { ShowSubSystem(context, *id); });
}

}  // namespace quarn::subsysmgr::cli
