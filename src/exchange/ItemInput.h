#pragma once

#include <optional>
#include <string>

#include "exchange/TreeItems.h"
#include "model/EditorInput.h"
#include "runtime/LocalText.h"

namespace quarn::subsysmgr::exchange {

/// Hands the fields a group and a subsystem share to an editor's input, as the editor's widgets
/// would.
template <class Item>
void TakeSharedFields(EditorInput& input, const Item& item) {
    input.id = item.id;
    input.nameCHS = item.names.chs;
    input.nameCHT = item.names.cht;
    input.nameEN = item.names.en;
    input.index = item.index;
    input.visible = item.visible;
    input.web = item.web;
    input.accountTypes = item.accountTypes;
}

/// The input's next free code; raises when its range has none left.
template <class Input>
int32_t FreeCodeOrRaise(Input& input, ModuleState& module) {
    if (const std::optional<int32_t> code = input.NextFreeCode()) {
        return *code;
    }
    const ranges::IdRange range = input.CodeRange();
    const ErrorDefinition& error = subsysmgr::errors::kNoFreeCode;
    throw ComError(error.Number(), std::string(error.source),
                   FormatLocalText(module, error.message, {range.first, range.last}));
}

/// Whether a writer saves its additions and changes or only runs their checks.
enum class WriteMode { Save, CheckOnly };

/// Saves the input, or only runs its checks; the first failure is raised.
inline void SaveOrRaise(EditorInput& input, WriteMode mode = WriteMode::Save) {
    if (const auto failure = mode == WriteMode::Save ? input.Save() : input.Validate()) {
        throw failure->error;
    }
}

}  // namespace quarn::subsysmgr::exchange
