#pragma once

#include <string>

#include "quarn/host/IChangeHistory.h"
#include "quarn/runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// What a check of the change log's seals found, in the session language, as the command line
/// and the designer say it.
struct SealReport {
    std::string finding;   ///< every sealed change as sealed, or the first one found wrong
    std::string awaiting;  ///< the rows other programs logged that wait for a seal; "" for none
    std::string limit;     ///< what a seal cannot catch, and what does
};

/// Passes on failures of the message formatter, as FormatLocalText.
SealReport DescribeSealCheck(ModuleState& module, const SealCheck& check);

}  // namespace quarn::subsysmgr
