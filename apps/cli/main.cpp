// subsysmgr: lists, shows, changes, exports and imports the subsystem groups and subsystems of
// the functional tree through the business objects.

#include <CLI/CLI.hpp>
#include <iostream>

#include "Commands.h"

int main(int argc, char** argv) {
    using namespace quarn::subsysmgr::cli;
    CliContext context(std::cin, std::cout, std::cerr);

    CLI::App app("Maintains the subsystem groups and subsystems of the functional tree.",
                 "subsysmgr");
    app.footer("Exit codes: 0 done, 1 failed and wrote nothing, 2 imported with refused items.");
    app.require_subcommand(1);
    app.fallthrough();  // global options after the command too; inherited by every command
    context.AddGlobalOptions(app);

    AddListCommands(app, context);
    AddShowCommands(app, context);
    AddHistoryCommand(app, context);
    AddRevertCommand(app, context);
    CLI::App* add = app.add_subcommand("add", "Add a group or subsystem")->require_subcommand(1);
    CLI::App* edit =
        app.add_subcommand("edit", "Change a group or subsystem")->require_subcommand(1);
    CLI::App* remove =
        app.add_subcommand("delete", "Delete a group or subsystem")->require_subcommand(1);
    AddGroupCommands(*add, *edit, *remove, context);
    AddSubSystemCommands(*add, *edit, *remove, context);
    AddExchangeCommands(app, context);
    AddInitCommand(app, context);

    return RunCommandLine(app, context, argc, argv);
}
