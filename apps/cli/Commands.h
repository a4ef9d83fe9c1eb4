#pragma once

#include <string>

#include "CliContext.h"

namespace CLI {
class App;
}

/// The commands of the tool, each group added to the application (or to the verbs add, edit
/// and delete) by its own function.
namespace quarn::subsysmgr::cli {

/// tree, groups, subsystems.
void AddListCommands(CLI::App& app, CliContext& context);
/// show group N, show subsystem N.
void AddShowCommands(CLI::App& app, CliContext& context);
/// add group, edit group N, delete group N.
void AddGroupCommands(CLI::App& add, CLI::App& edit, CLI::App& remove, CliContext& context);
/// add subsystem, edit subsystem N, delete subsystem N.
void AddSubSystemCommands(CLI::App& add, CLI::App& edit, CLI::App& remove, CliContext& context);
/// export, import.
void AddExchangeCommands(CLI::App& app, CliContext& context);
/// find TEXT.
void AddFindCommand(CLI::App& app, CliContext& context);
/// history.
void AddHistoryCommand(CLI::App& app, CliContext& context);
/// revert.
void AddRevertCommand(CLI::App& app, CliContext& context);
/// init.
void AddInitCommand(CLI::App& app, CliContext& context);
/// repair.
void AddRepairCommand(CLI::App& app, CliContext& context);
/// check.
void AddCheckCommand(CLI::App& app, CliContext& context);
/// upgrade.
void AddUpgradeCommand(CLI::App& app, CliContext& context);

/// The whole file, or standard input for "" and "-"; raises kFileUnreadable.
std::string ReadInput(CliContext& context, const std::string& file);

/// help [COMMAND...]; call after every other command is added.
void AddHelpCommand(CLI::App& app, CliContext& context);

/// Adds the global options and the exit codes to the help of every command, parses the command
/// line and runs the command. Returns the exit code: kExitOk, the command's own code, kExitUsage
/// after the usage (for no command), or after reporting an error (numbered, on the error stream)
/// its ExitCodeOf.
int RunCommandLine(CLI::App& app, CliContext& context, int argc, char** argv);

}  // namespace quarn::subsysmgr::cli
