#include "DecimalNumber.h"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <limits>
#include <string>
#include <vector>

namespace quarn::subsysmgr::cli {
namespace {

// A command with the kinds of numbers the tool reads: a 32-bit identifier, a 64-bit change
// number and a list of account types.
struct Command {
    CLI::App app;
    int32_t id = -1;
    int64_t change = -1;
    std::string list = "unset";

    Command() {
        app.add_option("--id", id)->transform(DecimalNumber());
        app.add_option("--change", change)
            ->transform(DecimalNumber(std::numeric_limits<int64_t>::min(),
                                      std::numeric_limits<int64_t>::max()));
        app.add_option("--list", list)->transform(DecimalList());
    }

    // The parser's message, empty when the command line parsed.
    std::string Parse(const std::string& option, const std::string& value) {
        std::vector<std::string> args{"tool", option, value};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        try {
            app.parse(static_cast<int>(argv.size()), argv.data());
            return "";
        } catch (const CLI::ParseError& error) {
            return error.what();
        }
    }
};

// The golden cases numbers-* give the tool leading zeros, a plus sign, an empty value and a
// hexadecimal list entry; here: the ranges' edges and the other forms.
TEST(DecimalNumber, ALeadingZeroIsADecimalDigit) {
    const struct {
        const char* option;
        const char* value;
        int64_t number;
    } numbers[] = {
        {"--id", "-010", -10},
        {"--id", "-0", 0},
        {"--id", "2147483647", 2147483647},
        {"--id", "-2147483648", -2147483648},
        {"--change", "010", 10},
        {"--change", "09223372036854775807", std::numeric_limits<int64_t>::max()},
    };
    for (const auto& given : numbers) {
        SCOPED_TRACE(std::string(given.option) + " " + given.value);
        Command command;
        ASSERT_EQ(command.Parse(given.option, given.value), "");
        EXPECT_EQ(given.option == std::string("--id") ? command.id : command.change, given.number);
    }
}

TEST(DecimalNumber, AListBecomesPlainNumbersAndMayBeEmpty) {
    const struct {
        const char* value;
        const char* list;
    } lists[] = {
        {"01, 3 ,010", "1,3,10"}, {"-02", "-2"}, {"7,", "7"}, {"", ""}, {"  ", ""},
    };
    for (const auto& given : lists) {
        SCOPED_TRACE(given.value);
        Command command;
        ASSERT_EQ(command.Parse("--list", given.value), "");
        EXPECT_EQ(command.list, given.list);
    }
}

TEST(DecimalNumber, AnythingElseIsRefusedNamingTheOptionAndTheValue) {
    const std::string int32Range = " is not a decimal number from -2147483648 to 2147483647";
    const std::string int64Range =
        " is not a decimal number from -9223372036854775808 to 9223372036854775807";
    const struct {
        const char* option;
        const char* value;
        std::string message;
    } refused[] = {
        {"--id", " 5", "--id: \" 5\"" + int32Range},
        {"--id", "5 ", "--id: \"5 \"" + int32Range},
        {"--id", "0x10", "--id: \"0x10\"" + int32Range},
        {"--id", "1e3", "--id: \"1e3\"" + int32Range},
        {"--id", "8.5", "--id: \"8.5\"" + int32Range},
        {"--id", "-", "--id: \"-\"" + int32Range},
        {"--id", "2147483648", "--id: \"2147483648\"" + int32Range},
        {"--id", "-2147483649", "--id: \"-2147483649\"" + int32Range},
        {"--id", "4294967296", "--id: \"4294967296\"" + int32Range},
        {"--id", "99999999999999999999", "--id: \"99999999999999999999\"" + int32Range},
        {"--change", "9223372036854775808", "--change: \"9223372036854775808\"" + int64Range},
        {"--list", "1,,3", "--list: \"\"" + int32Range},
        {"--list", "1;3", "--list: \"1;3\"" + int32Range},
        {"--list", "4294967297", "--list: \"4294967297\"" + int32Range},
    };
    for (const auto& given : refused) {
        SCOPED_TRACE(std::string(given.option) + " '" + given.value + "'");
        Command command;
        EXPECT_EQ(command.Parse(given.option, given.value), given.message);
        EXPECT_EQ(command.id, -1);
        EXPECT_EQ(command.change, -1);
        EXPECT_EQ(command.list, "unset");
    }
}

}  // namespace
}  // namespace quarn::subsysmgr::cli
