#include "exchange/SubSystemWriter.h"

#include <cassert>

#include "exchange/ExchangeErrors.h"
#include "exchange/ItemInput.h"
#include "exchange/TreeReader.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "model/SubSystemInput.h"

namespace quarn::subsysmgr::exchange {

namespace {

void Take(SubSystemInput& input, const SubSystemItem& item) {
    TakeSharedFields(input, item);
    input.group = item.group;
    input.number = item.number;
}

}  // namespace

SubSystemWriter::SubSystemWriter(std::shared_ptr<ModuleState> module, const ExchangeText& text,
                                 WriteMode mode)
    : module_(std::move(module)), text_(text), mode_(mode) {}

void SubSystemWriter::RequireGroup(int32_t groupId) {
    if (!assumedGroups_.contains(groupId) && !TreeReader(module_).FindGroup(groupId)) {
        text_.Raise(errors::kUnknownGroup, {groupId});
    }
}

void SubSystemWriter::Add(const SubSystemItem& item) {
    RequireGroup(item.group);
    SubSystemInput input(module_, kStatusAdd);
    Take(input, item);
    SaveOrRaise(input, mode_);
}

void SubSystemWriter::Update(const SubSystemItem& item, int64_t version) {
    auto loaded = TreeReader(module_).LoadSubSystem(item.id);
    if (!loaded) {
        RaiseLocalized(*module_, subsysmgr::errors::kSubSystemChangedElsewhere);
    }
    // The save's check covers what was read then, not what is stored now.
    loaded->subSystem->Version(version);
    Write(*loaded, item);
}

int32_t SubSystemWriter::Edit(int32_t id, const std::function<void(SubSystemItem&)>& change) {
    auto loaded = TreeReader(module_).LoadSubSystem(id);
    if (!loaded) {
        text_.Raise(errors::kUnknownSubSystem, {id});
    }
    SubSystemItem item = TreeReader::ItemOf(*loaded->subSystem);
    change(item);
    Write(*loaded, item);
    return item.id;
}

void SubSystemWriter::Write(TreeReader::Loaded& loaded, const SubSystemItem& item) {
    if (item.group != loaded.subSystem->SubSystemGroupID()) {
        RequireGroup(item.group);
    }
    SubSystemInput input(module_, kStatusEdit);
    input.Load(loaded.group, loaded.subSystem);
    Take(input, item);
    SaveOrRaise(input, mode_);
}

void SubSystemWriter::Delete(int32_t id, std::optional<int64_t> seenVersion) {
    assert(mode_ == WriteMode::Save);
    const auto loaded = TreeReader(module_).LoadSubSystem(id);
    if (!loaded) {
        text_.Raise(errors::kUnknownSubSystem, {id});
    }
    if (seenVersion) {
        // The store's guarded delete then refuses a subsystem changed since the user saw it.
        loaded->subSystem->Version(*seenVersion);
    }
    loaded->group->DeleteSubSystem(id);
    loaded->group->OptType(enm_OptType_SubSystem);
    if (!loaded->group->Save()) {
        subsysmgr::errors::RethrowIfChangedElsewhere(loaded->group->LastSaveFailure());
        text_.Raise(errors::kSubSystemNotDeleted, {id});
    }
}

}  // namespace quarn::subsysmgr::exchange
