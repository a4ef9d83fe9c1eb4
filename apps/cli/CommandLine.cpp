#include <CLI/CLI.hpp>

#include "CliErrors.h"
#include "Commands.h"

namespace quarn::subsysmgr::cli {

int RunCommandLine(CLI::App& app, CliContext& context, int argc, char** argv) {
    try {
        app.parse(argc, argv);
        return context.exitCode;
    } catch (const CLI::Success& request) {  // --help
        return app.exit(request, context.out, context.err);
    } catch (const CLI::ParseError& error) {
        context.Report(ComError(
            errors::kCommandLine.Number(), std::string(errors::kSource),
            context.Text().Format(errors::kCommandLine.message, {std::string(error.what())})));
    } catch (const ComError& error) {
        context.Report(error);
    } catch (const std::exception& error) {
        context.Report(ComError(
            errors::kUnexpected.Number(), std::string(errors::kSource),
            context.Text().Format(errors::kUnexpected.message, {std::string(error.what())})));
    }
    return kExitError;
}

}  // namespace quarn::subsysmgr::cli
