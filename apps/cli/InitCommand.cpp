// init: a new suite database with the tables and the delivered base data, optionally with the
// demo customer items.

#include <CLI/CLI.hpp>
#include <memory>

#include "CliErrors.h"
#include "Commands.h"
#include "suite/CreateDatabase.h"

namespace quarn::subsysmgr::cli {

namespace {

// An SQLite file must not exist yet (or be empty). A PostgreSQL database must exist and hold
// none of the suite's tables.
void Init(CliContext& context, bool demo) {
    context.CheckDatabaseOption();
    if (context.options.database.empty()) {
        context.Text().Raise(errors::kDatabaseOption, {context.options.database});
    }
    suite::HostSession& host = context.Host();
    host.CreateDatabase(demo ? suite::DatabaseContent::DemoData : suite::DatabaseContent::BaseData);
    if (context.options.json) {
        context.Print(Json{{"database", host.DatabaseDescription()}, {"demo", demo}});
        return;
    }
    context.out << context.Text().Format(
                       demo ? "Initialised the %1 with the demo data." : "Initialised the %1.",
                       {host.DatabaseDescription()})
                << '\n';
}

}  // namespace

void AddInitCommand(CLI::App& app, CliContext& context) {
    auto* init = app.add_subcommand("init", "Create the suite's tables in the database of --db");
    auto demo = std::make_shared<bool>(false);
    init->add_flag("--demo", *demo, "Fill a new database with the demo data as well");
    init->callback([&context, demo] { Init(context, *demo); });
}

}  // namespace quarn::subsysmgr::cli
