#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "ExitCodes.h"
#include "exchange/ExchangeText.h"
#include "exchange/ItemJson.h"
#include "exchange/MessageCollector.h"
#include "foundation/ComError.h"
#include "runtime/ModuleState.h"
#include "suite/HostSession.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace quarn::subsysmgr::cli {

// The commands speak the exchange library's words: its items, readers and writers.
using namespace quarn::subsysmgr::exchange;

/// The options that every command takes.
struct GlobalOptions {
    /// An SQLite file, sqlite:<file> or postgresql:<libpq connection>; empty for the demo
    /// database.
    std::string database;
    std::string language = "EN";
    bool json = false;
};

/// "error <offset> (0x<number>): <message>".
std::string ErrorLine(const ComError& error);
/// {"number", "offset", "hex", "source", "message"}, and "engineCode" when a database engine's
/// failure is behind the error.
Json ErrorJson(const ComError& error);

/// What the commands share: the global options, the output streams, the suite components and
/// the session over them.
class CliContext {
  public:
    CliContext(std::istream& in, std::ostream& out, std::ostream& err);

    /// --db, --lang and --json on the application (accepted after any command too).
    void AddGlobalOptions(CLI::App& app);

    /// The registry with our suite components and the session context for the options, created
    /// on first use (after the command line was parsed). Raises kDatabaseOption for an empty
    /// --db and the store's InvalidLocation for a database it cannot use; nothing is opened.
    suite::HostSession& Host();
    /// The module state of the session. The first call publishes the session context string,
    /// installs the module state with a message box that records what it shows, and reads the
    /// groups once, so a database that cannot be opened fails here with the store's error.
    std::shared_ptr<ModuleState> Session();
    /// Raises kDatabaseOption for a --db given as "": a name left empty by mistake must not
    /// fall back to the demo database.
    void CheckDatabaseOption();
    /// The tool's texts in the language of --lang; available whatever --db names.
    const ExchangeText& Text();

    /// Writes indented JSON and a line break to the output stream.
    void Print(const Json& json);
    /// Writes an error to the error stream as its ErrorLine, or with --json as one object
    /// {"error": ErrorJson plus "messages", the message boxes shown}.
    void Report(const ComError& error);

    GlobalOptions options;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    /// What the process ends with when the command returns normally.
    int exitCode = kExitOk;

  private:
    std::shared_ptr<MessageCollector> messageBox_;
    CLI::Option* databaseOption_ = nullptr;
    std::optional<suite::HostSession> host_;
    // The texts come from a session of their own, so that they can report a --db that the
    // command's session refuses.
    std::optional<suite::HostSession> textHost_;
    bool sessionStarted_ = false;
    std::optional<ExchangeText> text_;
};

}  // namespace quarn::subsysmgr::cli
