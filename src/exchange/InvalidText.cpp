#include "exchange/InvalidText.h"

#include <string_view>
#include <utility>

#include "exchange/FieldCaption.h"
#include "foundation/Utf8Text.h"
#include "model/GroupEditorTexts.h"
#include "model/SubSystemEditorTexts.h"

namespace quarn::subsysmgr::exchange {

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

}  // namespace quarn::subsysmgr::exchange
