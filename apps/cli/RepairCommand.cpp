// repair: puts back what keeps the change log true (its triggers; on PostgreSQL also the
// owner's functions and the grants) and the database's rules on values, after another program
// removed or changed them.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "Commands.h"
#include "Printable.h"

namespace quarn::subsysmgr::cli {

namespace {

void Repair(CliContext& context) {
    suite::HostSession& host = context.Host();
    const std::vector<std::string> restored = host.RepairHistory();
    if (context.options.json) {
        context.Print(Json{{"database", host.DatabaseDescription()}, {"restored", restored}});
        return;
    }
    const ExchangeText& text = context.Text();
    if (restored.empty()) {
        context.out << text.Format("Nothing was missing in the %1; the check is logged.",
                                   {host.DatabaseDescription()})
                    << '\n';
        return;
    }
    context.out << text.Format("Put back in the %1, logged as a change of its own:",
                               {host.DatabaseDescription()})
                << '\n';
    for (const std::string& entry : restored) {
        context.out << "  " << Printable(entry) << '\n';
    }
}

}  // namespace

void AddRepairCommand(CLI::App& app, CliContext& context) {
    auto* repair = app.add_subcommand(
        "repair",
        "Put back the triggers (on PostgreSQL also the functions and grants) that keep the change "
        "log true and the database's rules on values, after another program removed or changed "
        "them; on PostgreSQL as the owner");
    repair->callback([&context] { Repair(context); });
}

}  // namespace quarn::subsysmgr::cli
