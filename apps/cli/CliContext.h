#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "CliText.h"
#include "ItemJson.h"
#include "RecordingMessageBox.h"
#include "foundation/ComError.h"
#include "host/ComponentRegistry.h"
#include "runtime/ModuleState.h"

namespace CLI {
class App;
}

namespace quarn::subsysmgr::cli {

/// Exit codes of the tool.
inline constexpr int kExitOk = 0;
/// The command failed; it wrote nothing.
inline constexpr int kExitError = 1;
/// An import wrote what it could but refused at least one item.
inline constexpr int kExitRefused = 2;

/// The options that every command takes.
struct GlobalOptions {
    /// An SQLite file, sqlite:<file> or postgresql:<libpq connection>; empty for the demo
    /// database.
    std::string database;
    std::string language = "EN";
    bool json = false;
};

/// What the commands share: the global options, the output streams, the suite components and
/// the session over them.
class CliContext {
public:
    /// Registers our suite components in a registry of its own and gives the module state over
    /// it a message box that records what it shows.
    CliContext(std::ostream& out, std::ostream& err);

    /// --db, --lang and --json on the application (accepted after any command too).
    void AddGlobalOptions(CLI::App& app);

    /// The module state of the session. The first call installs it as the current one, publishes
    /// the session context string ("Database=...;Language=...;") for this process and reads the
    /// groups once, so a database that cannot be opened fails here with the store's error.
    std::shared_ptr<ModuleState> Session();
    /// The session's value of the context's Database entry: "" for the demo database,
    /// sqlite:<file> or postgresql:<connection>. Raises kDatabaseOption for a value that the
    /// context string cannot carry.
    std::string DatabaseEntry();
    /// The tool's texts in the language of --lang.
    const CliText& Text();
    /// The message box of the session; a refused deletion leaves its reason here.
    const RecordingMessageBox& MessageBox() const { return *messageBox_; }

    /// Writes indented JSON and a line break to the output stream.
    void Print(const Json& json);
    /// Writes an error to the error stream: "error <offset> (0x<number>): <message>", or one
    /// JSON object with --json.
    void Report(const ComError& error);

    GlobalOptions options;
    std::ostream& out;
    std::ostream& err;
    /// What the process ends with when the command returns normally.
    int exitCode = kExitOk;

private:
    std::shared_ptr<ComponentRegistry> registry_;
    std::shared_ptr<RecordingMessageBox> messageBox_;
    std::shared_ptr<ModuleState> module_;
    bool sessionStarted_ = false;
    std::optional<CliText> text_;
};

}  // namespace quarn::subsysmgr::cli
