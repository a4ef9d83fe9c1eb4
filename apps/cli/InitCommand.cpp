// init: a new suite database with the schema, optionally with the demo data.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>

#include "CliErrors.h"
#include "Commands.h"
#include "suite/store/Database.h"
#include "suite/store/StoreLocation.h"

namespace quarn::subsysmgr::cli {

namespace {

// An SQLite file must not exist yet. A PostgreSQL database must exist; it gets the schema when
// it has none (the demo data only then) and is checked otherwise.
void Init(CliContext& context, bool demo) {
    context.CheckDatabaseOption();
    if (context.options.database.empty()) {
        context.Text().Raise(errors::kDatabaseOption, {context.options.database});
    }
    const auto location = suite::StoreLocation::FromContext(context.Host().Context());
    std::error_code error;
    if (location.kind == suite::StoreLocation::Kind::SQLite &&
        std::filesystem::exists(location.target, error)) {
        context.Text().Raise(errors::kDatabaseExists, {location.target});
    }
    suite::Database::Open(location, {.createIfMissing = true, .loadDemoData = demo});
    if (context.options.json) {
        context.Print(Json{{"database", location.Describe()}, {"demo", demo}});
        return;
    }
    context.out << context.Text().Format(
                       demo ? "Initialised the %1 with the demo data." : "Initialised the %1.",
                       {location.Describe()})
                << '\n';
}

}  // namespace

void AddInitCommand(CLI::App& app, CliContext& context) {
    auto* init = app.add_subcommand("init", "Create the suite's tables in the database of --db");
    auto demo = std::make_shared<bool>(false);
    init->add_flag("--demo", *demo, "Fill a new database with the demo data");
    init->callback([&context, demo] { Init(context, *demo); });
}

}  // namespace quarn::subsysmgr::cli
