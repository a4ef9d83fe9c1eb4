// subsysmgr: lists, shows, changes, exports and imports the subsystem groups and subsystems of
// the functional tree through the business objects.

#include <CLI/CLI.hpp>
#include <iostream>

#include "Commands.h"
#include "suite/ProgramArguments.h"

int main(int argc, char** argv) {
    using namespace quarn::subsysmgr::cli;
    quarn::suite::ProgramArguments arguments(argc, argv);
    CliContext context(std::cin, std::cout, std::cerr);

    CLI::App app("Maintains the subsystem groups and subsystems of the functional tree.",
                 "subsysmgr");
    app.footer(
        "Exit codes: 0 done; 1 unexpected failure or altered history; 2 imported with refused "
        "items; 64 wrong command line; 65 refused by a rule or another user's change, or no such "
        "item; 66 input file or database missing; 73 output cannot be made; 74 disk full; 75 busy "
        "or unreachable, try again later; 77 login refused or write-protected.");
    app.require_subcommand(0, 1);  // without a command the usage is printed
    app.fallthrough();  // global options after the command too; inherited by every command
    app.set_version_flag("--version", QUARN_VERSION);
    context.AddGlobalOptions(app);

    AddListCommands(app, context);
    AddShowCommands(app, context);
    AddFindCommand(app, context);
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
    AddRepairCommand(app, context);
    AddCheckCommand(app, context);
    AddUpgradeCommand(app, context);
    AddHelpCommand(app, context);

    return RunCommandLine(app, context, arguments.Count(), arguments.Values());
}
