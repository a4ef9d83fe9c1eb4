#include "ErrorNumberText.h"

#include "DesignerTexts.h"
#include "runtime/LocalText.h"
#include "runtime/ModuleState.h"

namespace quarn::designer {

std::string ErrorNumberText(const ComError& error) {
    return subsysmgr::FormatLocalText(*subsysmgr::ModuleState::Current(), texts::kErrorNumber,
                                      {Variant(error.Offset())});
}

std::string ErrorMessage(const ComError& error) {
    return error.Description() + "\n(" + ErrorNumberText(error) + ")";
}

}  // namespace quarn::designer
