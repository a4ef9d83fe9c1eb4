#include "exchange/GroupWriter.h"

#include <cassert>

#include "exchange/ExchangeErrors.h"
#include "exchange/ItemInput.h"
#include "exchange/TreeReader.h"
#include "model/GroupInput.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr::exchange {

GroupWriter::GroupWriter(std::shared_ptr<ModuleState> module, const ExchangeText& text,
                         WriteMode mode)
    : module_(std::move(module)), text_(text), mode_(mode) {}

void GroupWriter::Add(const GroupItem& item) {
    GroupInput input(module_, kStatusAdd);
    TakeSharedFields(input, item);
    SaveOrRaise(input, mode_);
}

void GroupWriter::Update(const GroupItem& item, int64_t version) {
    auto group = std::make_shared<SubSysGroup>(module_);
    if (!group->initial(item.id)) {
        RaiseLocalized(*module_, subsysmgr::errors::kGroupChangedElsewhere);
    }
    // The save's check covers what was read then, not what is stored now.
    group->Version(version);
    Write(std::move(group), item);
}

int32_t GroupWriter::Edit(int32_t id, const std::function<void(GroupItem&)>& change) {
    auto group = std::make_shared<SubSysGroup>(module_);
    if (!group->initial(id)) {
        text_.Raise(errors::kUnknownGroup, {id});
    }
    GroupItem item = TreeReader::ItemOf(*group);
    change(item);
    Write(std::move(group), item);
    return item.id;
}

void GroupWriter::Write(std::shared_ptr<SubSysGroup> group, const GroupItem& item) {
    GroupInput input(module_, kStatusEdit);
    input.Load(std::move(group));
    TakeSharedFields(input, item);
    SaveOrRaise(input, mode_);
}

void GroupWriter::Delete(int32_t id, std::optional<int64_t> seenVersion) {
    assert(mode_ == WriteMode::Save);
    SubSysGroup group(module_);
    if (!group.initial(id)) {
        text_.Raise(errors::kUnknownGroup, {id});
    }
    if (seenVersion) {
        // The store's guarded delete then refuses a group changed since the user saw it.
        group.Version(*seenVersion);
    }
    group.Deleted(true);
    group.OptType(enm_OptType_Group);
    if (!group.Save()) {
        text_.Raise(errors::kGroupNotDeleted, {id});
    }
}

}  // namespace quarn::subsysmgr::exchange
