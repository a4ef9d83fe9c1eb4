#include "runtime/ModuleState.h"

#include <unistd.h>

#include <mutex>

#include "runtime/ConsoleMessageBox.h"

namespace quarn::subsysmgr {

namespace {

std::mutex currentMutex;
std::shared_ptr<ModuleState> current;

}  // namespace

ModuleState::ModuleState(std::shared_ptr<ComponentRegistry> registry_)
    : registry(std::move(registry_)),
      processId(static_cast<int32_t>(::getpid())),
      messageBox(std::make_shared<ConsoleMessageBox>()) {}

std::shared_ptr<ModuleState> ModuleState::Current() {
    std::lock_guard lock(currentMutex);
    if (!current) {
        current = std::make_shared<ModuleState>();
    }
    return current;
}

void ModuleState::Install(std::shared_ptr<ModuleState> state) {
    std::lock_guard lock(currentMutex);
    current = std::move(state);
}

}  // namespace quarn::subsysmgr
