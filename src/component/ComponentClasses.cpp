#include "component/ComponentClasses.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "component/ComponentExports.h"
#include "foundation/Utf8Text.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "suite/SuiteComponents.h"
#include "suite/SuiteSession.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"

namespace quarn::subsysmgr::component {

namespace {

template <class T>
std::shared_ptr<void> MakeShared() {
    return std::make_shared<T>();
}

std::shared_ptr<void> MakeSubSystem() {
    return SubSystem::Create();
}

constexpr std::array<ComponentClass, 4> kClasses{{
    {QUARN_CLSID_SUBSYSGROUP, QUARN_PROGID_SUBSYSGROUP, &MakeShared<SubSysGroup>},
    {QUARN_CLSID_SUBSYSTEM, QUARN_PROGID_SUBSYSTEM, &MakeSubSystem},
    {QUARN_CLSID_SUBSYSGROUPMGRUI, QUARN_PROGID_SUBSYSGROUPMGRUI, &MakeShared<SubSysGroupMgrUI>},
    {QUARN_CLSID_SUBSYSTEMMGRUI, QUARN_PROGID_SUBSYSTEMMGRUI, &MakeShared<SubSystemMgrUI>},
}};

std::atomic<int> liveInstances{0};

// The suite components that RegisterClasses added, so that UnregisterClasses removes only those.
std::mutex addedMutex;
std::vector<std::string> addedSuiteComponents;

}  // namespace

const ComponentClass* FindClass(std::string_view classId) {
    for (const ComponentClass& entry : kClasses) {
        if (text::EqualsIgnoreCaseAscii(entry.classId, classId)) {
            return &entry;
        }
    }
    return nullptr;
}

ClassInstance::ClassInstance(std::shared_ptr<void> instance) : instance_(std::move(instance)) {
    ++liveInstances;
}

ClassInstance::~ClassInstance() {
    --liveInstances;
}

int ClassInstance::LiveCount() {
    return liveInstances;
}

void RegisterClasses(ComponentRegistry& registry) {
    for (const ComponentClass& entry : kClasses) {
        registry.Register(entry.progId, [create = entry.create] {
            return std::make_shared<ClassInstance>(create());
        });
    }
    // Our suite components come from a registry of their own, so that what a host of this
    // library registered before stays as it is. They follow the context the host publishes.
    auto suite = std::make_shared<ComponentRegistry>();
    suite::RegisterSuiteComponents(*suite, std::make_shared<suite::SuiteSession>());
    std::lock_guard lock(addedMutex);
    for (const std::string& progId : suite->ProgIds()) {
        if (!registry.IsRegistered(progId)) {
            registry.Register(progId, [suite, progId] { return suite->CreateObject(progId); });
            addedSuiteComponents.push_back(progId);
        }
    }
}

void UnregisterClasses(ComponentRegistry& registry) {
    for (const ComponentClass& entry : kClasses) {
        registry.Unregister(entry.progId);
    }
    std::lock_guard lock(addedMutex);
    for (const std::string& progId : addedSuiteComponents) {
        registry.Unregister(progId);
    }
    addedSuiteComponents.clear();
}

}  // namespace quarn::subsysmgr::component
