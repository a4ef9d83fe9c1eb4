#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "CliErrors.h"
#include "exchange/ExchangeErrors.h"
#include "foundation/FoundationErrors.h"
#include "host/HostErrors.h"
#include "model/ModelErrors.h"
#include "suite/SuiteErrors.h"
#include "suite/store/StoreErrors.h"

/// The register of the system's error numbers: every layer's list of its errors in one table.
/// It lives with the command-line tool's tests, whose program is the one that links every layer;
/// the designer raises the exchange's errors and has none of its own.
namespace quarn::subsysmgr::error_register {

/// Where the three languages of an error's text come from.
enum class Translation {
    /// Its message is a simplified-Chinese key of the catalogs QuarnDesign.<CHS|CHT|EN>.json.
    Design,
    /// Its message is an English key of QuarnSubsysCli.<CHS|CHT>.json and English as it is.
    CommandLine,
    /// Each raise site gives its own simplified-Chinese template, a key of
    /// QuarnDesign.<language>.json; the catalog test holds every such text of the sources.
    RaiseSites,
    /// English only: faults of a program or of the data in the shared types and the registry,
    /// and a missing data folder, which leaves no catalogs to translate with.
    None,
};

struct RegisteredError {
    int32_t offset;
    std::string_view declaredIn;
    std::string_view source;   ///< empty where each raise site names its own
    std::string_view message;  ///< empty where each raise site gives its own
    Translation translation;
};

/// The numbers that several definitions share on purpose. All are the model's: the editors and
/// the business objects raise one number with texts that say which check failed.
struct SharedNumber {
    int32_t offset;
    std::string_view why;
};
inline constexpr SharedNumber kSharedNumbers[] = {
    {1001, "a subsystem code out of its range, or taken"},
    {1003, "a delivered subsystem, or one with sub-functions, is not deleted"},
    {1004, "loading a group, or listing the groups, failed"},
    {1009, "a subsystem without a name; a forbidden character, one text per field"},
    {1040, "a name or a short code that is no valid text, one text per field"},
    {1042, "a group, a subsystem or a revert met another user's change"},
};

/// Every numbered error of the system, layer by layer.
inline std::vector<RegisteredError> AllErrors() {
    std::vector<RegisteredError> all;
    const auto add = [&all](std::string_view header, Translation translation,
                            const auto& definitions) {
        for (const ErrorDefinition& error : definitions) {
            all.push_back({error.offset, header, error.source, error.message, translation});
        }
    };
    const auto addNumbers = [&all](std::string_view header, Translation translation,
                                   const auto& errors) {
        for (const auto error : errors) {
            all.push_back({static_cast<int32_t>(error), header, {}, {}, translation});
        }
    };
    addNumbers("src/foundation/FoundationErrors.h", Translation::None, kFoundationErrors);
    addNumbers("src/host/HostErrors.h", Translation::None, kHostErrors);
    add("src/model/ModelErrors.h", Translation::Design, errors::kAll);
    addNumbers("src/suite/store/StoreErrors.h", Translation::RaiseSites, suite::kStoreErrors);
    addNumbers("src/suite/SuiteErrors.h", Translation::None,
               std::array{suite::kDataFolderNotFound});
    add("src/exchange/ExchangeErrors.h", Translation::CommandLine, exchange::errors::kAll);
    add("apps/cli/CliErrors.h", Translation::CommandLine, cli::errors::kAll);
    return all;
}

}  // namespace quarn::subsysmgr::error_register
