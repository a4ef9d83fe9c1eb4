// add subsystem, edit subsystem N and delete subsystem N: through SubSystem and its group's Save
// as the subsystem editor saves.

#include <CLI/CLI.hpp>
#include <memory>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "InvalidTextWarning.h"
#include "ItemFlags.h"
#include "exchange/ItemInput.h"
#include "exchange/SubSystemWriter.h"
#include "exchange/TreeActions.h"
#include "exchange/TreeReader.h"
#include "model/SubSystemInput.h"

namespace quarn::subsysmgr::cli {

namespace {

// What was done, and the subsystem as it is stored now.
void Done(CliContext& context, std::string_view outcome, std::string_view message, int32_t id) {
    if (!context.options.json) {
        context.out << context.Text().Format(message, {id}) << '\n';
        return;
    }
    const auto stored = TreeReader(context.Session()).FindSubSystem(id);
    context.Print(
        Json{{"outcome", outcome}, {"subsystem", stored ? ToJson(*stored) : Json{{"id", id}}}});
}

}  // namespace

void AddSubSystemCommands(CLI::App& add, CLI::App& edit, CLI::App& remove, CliContext& context) {
    auto* addSubSystem =
        add.add_subcommand("subsystem", "Add a subsystem (8000-8999, or 100000-199990)");
    auto addFlags = std::make_shared<ItemFlags>(*addSubSystem, ItemFlags::Kind::SubSystem,
                                                ItemFlags::Mode::Add);
    addSubSystem->callback([&context, addFlags] {
        const auto module = context.Session();
        SubSystemItem item;
        addFlags->ApplyTo(item);
        if (!addFlags->AccountTypesGiven()) {
            item.accountTypes = SubSystemInput(module, kStatusAdd).DefaultAccountTypes();
        }
        if (addFlags->IdIsAuto()) {
            SubSystemInput input(module, kStatusAdd);
            item.id = FreeCodeOrRaise(input, *module);
        }
        SubSystemWriter(module, context.Text()).Add(item);
        Done(context, "added", "Added subsystem %1.", item.id);
    });

    auto* editSubSystem =
        edit.add_subcommand("subsystem", "Change the given fields of a subsystem");
    auto editId = std::make_shared<int32_t>(0);
    editSubSystem->add_option("id", *editId, "Identifier")->transform(DecimalNumber())->required();
    auto editFlags = std::make_shared<ItemFlags>(*editSubSystem, ItemFlags::Kind::SubSystem,
                                                 ItemFlags::Mode::Edit);
    editSubSystem->callback([&context, editId, editFlags] {
        const auto module = context.Session();
        const int32_t id =
            SubSystemWriter(module, context.Text()).Edit(*editId, [&](SubSystemItem& item) {
                editFlags->ApplyTo(item);
                // What the user did not give anew is saved as stored, and refused if not text.
                WarnOfInvalidText(context, item, InvalidBytes::Kept);
            });
        Done(context, "updated", "Changed subsystem %1.", id);
    });

    auto* removeSubSystem = remove.add_subcommand(
        "subsystem", "Delete a subsystem without sub-functions or business objects");
    auto removeId = std::make_shared<int32_t>(0);
    removeSubSystem->add_option("id", *removeId, "Identifier")
        ->transform(DecimalNumber())
        ->required();
    removeSubSystem->callback([&context, removeId] {
        TreeActions(context.Session(), context.Text())
            .Delete({TreeItemRef::Kind::SubSystem, *removeId});
        Done(context, "deleted", "Deleted subsystem %1.", *removeId);
    });
}

}  // namespace quarn::subsysmgr::cli
