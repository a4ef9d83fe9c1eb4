// check: every stored row against the rules of the editors and the store, the change log's
// protections and seals, and the store's own rules on values.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "Commands.h"
#include "Findings.h"
#include "exchange/TreeCheck.h"

namespace quarn::subsysmgr::cli {

namespace {

// Exit code 65 when anything is found.
int Check(CliContext& context) {
    const auto module = context.Session();
    const std::vector<std::string> missing = context.Host().MissingHistoryProtections();
    const std::vector<TreeFinding> findings =
        CheckTree(module, context.Text(), missing, context.Host().MissingValueRules());
    if (context.options.json) {
        Json list = Json::array();
        for (const TreeFinding& finding : findings) {
            list.push_back(FindingJson(finding));
        }
        context.Print(Json{{"database", context.Host().DatabaseDescription()},
                           {"findings", std::move(list)}});
    } else {
        const ExchangeText& text = context.Text();
        for (const TreeFinding& finding : findings) {
            context.out << FindingLine(finding) << '\n';
        }
        context.out << (findings.empty()
                            ? text.Format("No problems found in the %1.",
                                          {context.Host().DatabaseDescription()})
                            : text.Format(findings.size() == 1 ? "%1 problem found in the %2."
                                                               : "%1 problems found in the %2.",
                                          {static_cast<int64_t>(findings.size()),
                                           context.Host().DatabaseDescription()}))
                    << '\n';
    }
    return findings.empty() ? kExitOk : kExitDataError;
}

}  // namespace

void AddCheckCommand(CLI::App& app, CliContext& context) {
    auto* check = app.add_subcommand(
        "check",
        "Check every stored group and subsystem against the editors' and the database's rules, "
        "and the change log's protections and seals; exit code 65 when something is found");
    check->callback([&context] { context.exitCode = Check(context); });
}

}  // namespace quarn::subsysmgr::cli
