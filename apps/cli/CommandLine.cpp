#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The commands of an application, as they are listed: "tree, groups, ...".
std::string CommandList(const CLI::App& app) {
    std::string list;
    for (const CLI::App* command : app.get_subcommands({})) {
        list += (list.empty() ? "" : ", ") + command->get_name();
    }
    return list;
}

// The command that the parse went deepest into.
CLI::App& ParsedCommand(CLI::App& app) {
    CLI::App* at = &app;
    while (!at->get_subcommands().empty()) {
        at = at->get_subcommands().front();
    }
    return *at;
}

// The words that lead to a command: "add group" (empty for the application).
std::string CommandPath(const CLI::App& command, const CLI::App& app) {
    std::string path;
    for (const CLI::App* at = &command; at != &app; at = at->get_parent()) {
        path = at->get_name() + (path.empty() ? "" : " ") + path;
    }
    return path;
}

// "--db DATABASE  description" lines of the application's options that every command takes, in
// the columns of the commands' own options.
std::string GlobalOptionsText(const CLI::App& app) {
    std::vector<std::pair<std::string, std::string>> lines;
    std::size_t width = app.get_formatter()->get_column_width() - 2;
    for (const CLI::Option* option : app.get_options()) {
        if (option == app.get_help_ptr() || option->get_name() == "--version") {
            continue;
        }
        std::string name = option->get_name();
        if (!option->get_type_name().empty() && option->get_type_size() != 0) {
            name += " " + option->get_type_name();
        }
        width = std::max(width, name.size() + 1);
        lines.emplace_back(std::move(name), option->get_description());
    }
    std::string text = "Global options (before or after the command):\n";
    for (const auto& [name, description] : lines) {
        text += "  " + name + std::string(width - name.size(), ' ') + description + "\n";
    }
    return text;
}

void AddFooters(CLI::App& command, const std::string& footer) {
    for (CLI::App* sub : command.get_subcommands({})) {
        sub->footer(footer);
        AddFooters(*sub, footer);
    }
}

// Raises kUnknownCommand for the word after the command path, which must be one of the
// commands of `command`.
[[noreturn]] void RaiseUnknownCommand(CliContext& context, const std::string& path,
                                      const std::string& word, const CLI::App& command) {
    // A word of a connection string that the shell split off --db is not quoted.
    const std::string quoted = CarriesSecret(word) ? "***" : word;
    context.Text().Raise(errors::kUnknownCommand,
                         {path.empty() ? quoted : path + " " + quoted, CommandList(command)});
}

// Raises kUnknownCommand when the first word the parse left over stands where `command` expects
// one of its commands; options and values left over are the parser's to report.
void RaiseIfUnknownCommand(CliContext& context, CLI::App& app) {
    CLI::App& command = ParsedCommand(app);
    const std::vector<std::string> left = app.remaining();
    if (command.get_subcommands({}).empty() || left.empty() || left.front().starts_with("-")) {
        return;
    }
    RaiseUnknownCommand(context, CommandPath(command, app), left.front(), command);
}

// A command line that does not say what to do: the usage, or with --json an error.
int NoCommand(CliContext& context, CLI::App& app) {
    if (context.options.json) {
        context.Report(
            ComError(errors::kNoCommand.Number(), std::string(errors::kSource),
                     context.Text().Format(errors::kNoCommand.message, {CommandList(app)})));
    } else {
        context.err << app.help();
    }
    return kExitUsage;
}

}  // namespace

void AddHelpCommand(CLI::App& app, CliContext& context) {
    auto* help = app.add_subcommand("help", "The usage of the tool or of a command");
    auto words = std::make_shared<std::vector<std::string>>();
    help->add_option("command", *words, "A command, e.g. add group");
    help->callback([&app, &context, words] {
        CLI::App* command = &app;
        std::string path;
        for (const std::string& word : *words) {
            try {
                command = command->get_subcommand(word);
            } catch (const CLI::OptionNotFound&) {
                RaiseUnknownCommand(context, path, word, *command);
            }
            path += (path.empty() ? "" : " ") + word;
        }
        // The usage line names the whole command: "subsysmgr add group".
        context.out << command->get_formatter()->make_help(
            command, app.get_name() + (path.empty() ? "" : " " + path), CLI::AppFormatMode::Normal);
    });
}

int RunCommandLine(CLI::App& app, CliContext& context, int argc, char** argv) {
    AddFooters(app, GlobalOptionsText(app) + "\n" + app.get_footer());
    try {
        try {
            app.parse(argc, argv);
        } catch (const CLI::ParseError&) {
            // Also before --help: the help of a command that does not exist would be the
            // general one, as if the command had been found.
            RaiseIfUnknownCommand(context, app);
            throw;
        }
        if (app.get_subcommands().empty()) {
            return NoCommand(context, app);
        }
        return context.exitCode;
    } catch (const CLI::Success& request) {  // --help, --version
        return app.exit(request, context.out, context.err);
    } catch (const CLI::ParseError& error) {
        context.Report(ComError(errors::kCommandLine.Number(), std::string(errors::kSource),
                                context.Text().Format(errors::kCommandLine.message,
                                                      {WithoutSecrets(error.what(), argc, argv)})));
        return kExitUsage;
    } catch (const ComError& error) {
        context.Report(error);
        return ExitCodeOf(error);
    } catch (const std::exception& error) {
        context.Report(ComError(
            errors::kUnexpected.Number(), std::string(errors::kSource),
            context.Text().Format(errors::kUnexpected.message, {std::string(error.what())})));
    }
    return kExitError;
}

}  // namespace quarn::subsysmgr::cli
