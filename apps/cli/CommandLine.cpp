#include <CLI/CLI.hpp>
#include <string_view>

#include "CliErrors.h"
#include "Commands.h"
#include "foundation/Utf8Text.h"

namespace quarn::subsysmgr::cli {

namespace {

// An argument that may hold a password: a connection string with a password entry (also the
// words of one that the shell split) or a URI with user information.
bool CarriesSecret(std::string_view argument) {
    return text::FindIgnoreCaseAscii(argument, "password") != std::string_view::npos ||
           (argument.find("://") != std::string_view::npos &&
            argument.find('@') != std::string_view::npos);
}

// The parser's message quotes arguments; those that may hold a password are left out.
std::string WithoutSecrets(std::string message, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!CarriesSecret(argument)) {
            continue;
        }
        // --db=<value> is quoted as the value alone too.
        const std::string_view value = argument.substr(argument.find('=') + 1);
        for (const std::string_view quoted : {argument, value}) {
            constexpr std::string_view kHidden = "***";
            for (auto at = message.find(quoted); !quoted.empty() && at != std::string::npos;
                 at = message.find(quoted, at + kHidden.size())) {
                message.replace(at, quoted.size(), kHidden);
            }
        }
    }
    return message;
}

}  // namespace

int RunCommandLine(CLI::App& app, CliContext& context, int argc, char** argv) {
    try {
        app.parse(argc, argv);
        return context.exitCode;
    } catch (const CLI::Success& request) {  // --help
        return app.exit(request, context.out, context.err);
    } catch (const CLI::ParseError& error) {
        context.Report(ComError(errors::kCommandLine.Number(), std::string(errors::kSource),
                                context.Text().Format(errors::kCommandLine.message,
                                                      {WithoutSecrets(error.what(), argc, argv)})));
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
