#include "InvalidTextWarning.h"

#include <string_view>

namespace quarn::subsysmgr::cli {

namespace {

void Warn(CliContext& context, std::string_view kind, int32_t id,
          const std::vector<std::string>& fields, InvalidBytes shown) {
    const ExchangeText& text = context.Text();
    const std::string_view message = [shown] {
        switch (shown) {
            case InvalidBytes::Escaped:
                return "Warning: the stored %3 of %1 %2 is not valid UTF-8; its invalid bytes are "
                       "shown as \\xNN.";
            case InvalidBytes::Replaced:
                return "Warning: the stored %3 of %1 %2 is not valid UTF-8; its invalid bytes are "
                       "written as U+FFFD.";
            case InvalidBytes::Kept:
                break;
        }
        return "Warning: the stored %3 of %1 %2 is not valid UTF-8; the item cannot be saved "
               "until it is given anew.";
    }();
    for (const std::string& field : fields) {
        context.err << text.Format(message, {text.Text(kind), id, field}) << '\n';
    }
}

}  // namespace

void WarnOfInvalidText(CliContext& context, const GroupItem& group, InvalidBytes shown) {
    Warn(context, "group", group.id, InvalidTextFields(*context.Session(), group), shown);
}

void WarnOfInvalidText(CliContext& context, const SubSystemItem& subSystem, InvalidBytes shown) {
    Warn(context, "subsystem", subSystem.id, InvalidTextFields(*context.Session(), subSystem),
         shown);
}

InvalidBytes ShownInvalidBytes(const CliContext& context) {
    return context.options.json ? InvalidBytes::Replaced : InvalidBytes::Escaped;
}

}  // namespace quarn::subsysmgr::cli
