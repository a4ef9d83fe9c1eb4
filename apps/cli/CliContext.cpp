#include "CliContext.h"

#include <fmt/format.h>

#include <CLI/CLI.hpp>

#include "CliErrors.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::cli {

CliContext::CliContext(std::istream& in_, std::ostream& out_, std::ostream& err_)
    : in(in_), out(out_), err(err_), messageBox_(std::make_shared<MessageCollector>(err_)) {}

void CliContext::AddGlobalOptions(CLI::App& app) {
    databaseOption_ = app.add_option("--db", options.database,
                                     "SQLite database file, or postgresql:<libpq connection "
                                     "string>; without it the demo database. Keep passwords "
                                     "out of it: use ~/.pgpass, PGPASSWORD or a service file")
                          ->type_name("DATABASE");
    app.add_option("--lang", options.language, "Language of names and messages")
        ->transform(CLI::IsMember({"CHS", "CHT", "EN"}, CLI::ignore_case))
        ->capture_default_str();
    app.add_flag("--json", options.json, "Machine-readable output (JSON)");
}

suite::HostSession& CliContext::Host() {
    if (!host_) {
        CheckDatabaseOption();
        host_.emplace(options.database, options.language);
    }
    return *host_;
}

void CliContext::CheckDatabaseOption() {
    if (databaseOption_ && databaseOption_->count() > 0 && options.database.empty()) {
        Text().Raise(errors::kDatabaseOption, {options.database});
    }
}

std::shared_ptr<ModuleState> CliContext::Session() {
    suite::HostSession& host = Host();
    if (sessionStarted_) {
        return host.Module();
    }
    host.Activate();
    const auto module = host.Module();
    messageBox_->Quiet(options.json);
    module->messageBox = messageBox_;
    GetDataFlowInfo(*module).GetTopClass_All();  // opens the database
    sessionStarted_ = true;
    return module;
}

const ExchangeText& CliContext::Text() {
    if (!text_) {
        textHost_.emplace("", options.language);
        text_.emplace(textHost_->Registry(), options.language);
    }
    return *text_;
}

void CliContext::Print(const Json& json) {
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

void CliContext::Report(const ComError& error) {
    if (!options.json) {
        err << ErrorLine(error) << '\n';
        return;
    }
    Json report = ErrorJson(error);
    report["messages"] = messageBox_->Messages();
    err << Json{{"error", report}}.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

std::string ErrorLine(const ComError& error) {
    return fmt::format("error {} (0x{:08X}): {}", error.Offset(),
                       static_cast<uint32_t>(error.Number()), error.Description());
}

Json ErrorJson(const ComError& error) {
    Json json{{"number", error.Number()},
              {"offset", error.Offset()},
              {"hex", fmt::format("0x{:08X}", static_cast<uint32_t>(error.Number()))},
              {"source", error.Source()},
              {"message", error.Description()}};
    if (!error.EngineCode().empty()) {
        json["engineCode"] = error.EngineCode();
    }
    return json;
}

}  // namespace quarn::subsysmgr::cli
