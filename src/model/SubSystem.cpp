#include "model/SubSystem.h"

#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

SubSystem::SubSystem(std::shared_ptr<ModuleState> module) : module_(std::move(module)) {}

SubSystem::~SubSystem() = default;

SubSystemPtr SubSystem::Create(std::shared_ptr<ModuleState> module) {
    return std::make_shared<SubSystem>(std::move(module));
}

std::string SubSystem::NameIn(const std::string& language) const {
    return dictName_ ? dictName_->Item(language).TextOrEmpty() : std::string();
}

std::string SubSystem::OldNameIn(const std::string& language) const {
    return oldNames_ ? oldNames_->Item(language).TextOrEmpty() : std::string();
}

void SubSystem::SetOldName(const std::string& language, const std::string& name) {
    if (!oldNames_) {
        oldNames_ = Dictionary::Create();
    }
    oldNames_->Item(language, name);
}

std::string SubSystem::Name() const {
    return NameIn(GetLanguageOrDefault(*module_));
}
std::string SubSystem::NameCHS() const {
    return NameIn("CHS");
}
std::string SubSystem::NameCHT() const {
    return NameIn("CHT");
}
std::string SubSystem::NameEN() const {
    return NameIn("EN");
}

std::string SubSystem::SubSystemName_Old() const {
    return OldNameIn(GetLanguageOrDefault(*module_));
}
std::string SubSystem::SubSystemNameCHS_Old() const {
    return OldNameIn("CHS");
}
std::string SubSystem::SubSystemNameCHT_Old() const {
    return OldNameIn("CHT");
}
std::string SubSystem::SubSystemNameEN_Old() const {
    return OldNameIn("EN");
}

void SubSystem::SubSystemName_Old(const std::string& vNewValue) {
    SetOldName(GetLanguageOrDefault(*module_), vNewValue);
}
void SubSystem::SubSystemNameCHS_Old(const std::string& vNewValue) {
    SetOldName("CHS", vNewValue);
}
void SubSystem::SubSystemNameCHT_Old(const std::string& vNewValue) {
    SetOldName("CHT", vNewValue);
}
void SubSystem::SubSystemNameEN_Old(const std::string& vNewValue) {
    SetOldName("EN", vNewValue);
}

}  // namespace quarn::subsysmgr
