#include "CliContext.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "CliErrors.h"
#include "host/IShareProps.h"
#include "host/ProgIds.h"
#include "runtime/SessionContext.h"
#include "suite/SuiteComponents.h"

namespace quarn::subsysmgr::cli {

namespace {

constexpr std::string_view kSqlitePrefix = "sqlite:";
constexpr std::string_view kPostgresPrefix = "postgresql:";

}  // namespace

CliContext::CliContext(std::ostream& out_, std::ostream& err_)
    : out(out_),
      err(err_),
      registry_(std::make_shared<ComponentRegistry>()),
      messageBox_(std::make_shared<RecordingMessageBox>(err_)) {
    suite::RegisterSuiteComponents(*registry_);
    module_ = std::make_shared<ModuleState>(registry_);
    module_->messageBox = messageBox_;
}

void CliContext::AddGlobalOptions(CLI::App& app) {
    app.add_option("--db", options.database,
                   "SQLite database file, or postgresql:<libpq connection string>; "
                   "without it the demo database")
        ->type_name("DATABASE");
    app.add_option("--lang", options.language, "Language of names and messages")
        ->transform(CLI::IsMember({"CHS", "CHT", "EN"}, CLI::ignore_case))
        ->capture_default_str();
    app.add_flag("--json", options.json, "Machine-readable output (JSON)");
}

std::string CliContext::DatabaseEntry() {
    const std::string& database = options.database;
    // The context string separates its entries with ';'.
    if (database.find(';') != std::string::npos) {
        Text().Raise(errors::kDatabaseOption, {database});
    }
    if (database.empty() || database.rfind(kSqlitePrefix, 0) == 0 ||
        database.rfind(kPostgresPrefix, 0) == 0) {
        return database;
    }
    return std::string(kSqlitePrefix) + database;
}

std::shared_ptr<ModuleState> CliContext::Session() {
    if (sessionStarted_) {
        return module_;
    }
    const std::string database = DatabaseEntry();
    const std::string context = (database.empty() ? "" : "Database=" + database + ";") +
                                "Language=" + options.language + ";";
    messageBox_->Quiet(options.json);
    ModuleState::Install(module_);
    registry_->Create<IShareProps>(progid::kShareProps)
        ->SetProperty(module_->processId, std::string(kPropsStringProperty), context);
    GetDataFlowInfo(*module_).GetTopClass_All();
    sessionStarted_ = true;
    return module_;
}

const CliText& CliContext::Text() {
    if (!text_) {
        text_.emplace(registry_, options.language);
    }
    return *text_;
}

void CliContext::Print(const Json& json) {
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

void CliContext::Report(const ComError& error) {
    const auto number = static_cast<uint32_t>(error.Number());
    if (!options.json) {
        err << fmt::format("error {} (0x{:08X}): {}\n", error.Offset(), number,
                           error.Description());
        return;
    }
    const Json report{{"error",
                       {{"number", error.Number()},
                        {"offset", error.Offset()},
                        {"hex", fmt::format("0x{:08X}", number)},
                        {"source", error.Source()},
                        {"message", error.Description()},
                        {"messages", messageBox_->Messages()}}}};
    err << report.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace quarn::subsysmgr::cli
