#include "InvalidText.h"

#include <string_view>
#include <utility>

#include "FieldCaption.h"
#include "foundation/Utf8Text.h"
#include "model/GroupEditorTexts.h"
#include "model/SubSystemEditorTexts.h"

namespace quarn::subsysmgr::cli {

namespace {

using CaptionedText = std::pair<std::string_view, const std::string&>;

std::vector<std::string> Invalid(ModuleState& module, std::initializer_list<CaptionedText> texts) {
    std::vector<std::string> captions;
    for (const auto& [caption, text] : texts) {
        if (!text::IsValidUtf8(text)) {
            captions.push_back(FieldCaption(module, caption));
        }
    }
    return captions;
}

void Warn(CliContext& context, std::string_view kind, int32_t id,
          const std::vector<std::string>& fields, InvalidBytes shown) {
    const CliText& text = context.Text();
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

std::vector<std::string> InvalidTextFields(ModuleState& module, const GroupItem& group) {
    using namespace group_editor;
    return Invalid(module, {{kNameCaption, group.names.chs},
                            {kNameCHTCaption, group.names.cht},
                            {kNameENCaption, group.names.en}});
}

std::vector<std::string> InvalidTextFields(ModuleState& module, const SubSystemItem& subSystem) {
    using namespace subsystem_editor;
    return Invalid(module, {{kNumberCaption, subSystem.number},
                            {kNameCaption, subSystem.names.chs},
                            {kNameCHTCaption, subSystem.names.cht},
                            {kNameENCaption, subSystem.names.en}});
}

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
