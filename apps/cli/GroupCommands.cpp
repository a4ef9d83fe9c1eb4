// add group, edit group N and delete group N: through SubSysGroup as the group editor saves.

#include <CLI/CLI.hpp>
#include <memory>

#include "CliErrors.h"
#include "Commands.h"
#include "DecimalNumber.h"
#include "InvalidTextWarning.h"
#include "ItemFlags.h"
#include "exchange/GroupWriter.h"
#include "exchange/ItemInput.h"
#include "exchange/TreeActions.h"
#include "exchange/TreeReader.h"
#include "model/GroupInput.h"

namespace quarn::subsysmgr::cli {

namespace {

// What was done, and the group as it is stored now.
void Done(CliContext& context, std::string_view outcome, std::string_view message, int32_t id) {
    if (!context.options.json) {
        context.out << context.Text().Format(message, {id}) << '\n';
        return;
    }
    const auto stored = TreeReader(context.Session()).FindGroup(id);
    context.Print(
        Json{{"outcome", outcome}, {"group", stored ? ToJson(*stored) : Json{{"id", id}}}});
}

}  // namespace

void AddGroupCommands(CLI::App& add, CLI::App& edit, CLI::App& remove, CliContext& context) {
    auto* addGroup = add.add_subcommand("group", "Add a group (800-899, or 10000-19999)");
    auto addFlags =
        std::make_shared<ItemFlags>(*addGroup, ItemFlags::Kind::Group, ItemFlags::Mode::Add);
    addGroup->callback([&context, addFlags] {
        const auto module = context.Session();
        GroupItem item;
        addFlags->ApplyTo(item);
        if (!addFlags->AccountTypesGiven()) {
            item.accountTypes = GroupInput(module, kStatusAdd).DefaultAccountTypes();
        }
        if (addFlags->IdIsAuto()) {
            GroupInput input(module, kStatusAdd);
            item.id = FreeCodeOrRaise(input, *module);
        }
        GroupWriter(module, context.Text()).Add(item);
        Done(context, "added", "Added subsystem group %1.", item.id);
    });

    auto* editGroup = edit.add_subcommand("group", "Change the given fields of a group");
    auto editId = std::make_shared<int32_t>(0);
    editGroup->add_option("id", *editId, "Identifier")->transform(DecimalNumber())->required();
    auto editFlags =
        std::make_shared<ItemFlags>(*editGroup, ItemFlags::Kind::Group, ItemFlags::Mode::Edit);
    editGroup->callback([&context, editId, editFlags] {
        const int32_t id =
            GroupWriter(context.Session(), context.Text()).Edit(*editId, [&](GroupItem& item) {
                editFlags->ApplyTo(item);
                // What the user did not give anew is saved as stored, and refused if not text.
                WarnOfInvalidText(context, item, InvalidBytes::Kept);
            });
        Done(context, "updated", "Changed subsystem group %1.", id);
    });

    auto* removeGroup = remove.add_subcommand("group", "Delete a group that has no subsystems");
    auto removeId = std::make_shared<int32_t>(0);
    removeGroup->add_option("id", *removeId, "Identifier")->transform(DecimalNumber())->required();
    removeGroup->callback([&context, removeId] {
        TreeActions(context.Session(), context.Text())
            .Delete({TreeItemRef::Kind::Group, *removeId});
        Done(context, "deleted", "Deleted subsystem group %1.", *removeId);
    });
}

}  // namespace quarn::subsysmgr::cli
