// The four exported entry points over the library's own component registry.

#include "component/ComponentExports.h"

#include "component/ComponentClasses.h"

namespace {

using quarn::Component;
using quarn::ComponentRegistry;
using namespace quarn::subsysmgr::component;

// The handle a caller holds: the registry's object keeps the instance (and its count) alive.
struct ClassObjectHandle : QuarnClassObject {
    std::shared_ptr<Component> object;
};

void ReleaseHandle(QuarnClassObject* self) {
    delete static_cast<ClassObjectHandle*>(self);
}

}  // namespace

extern "C" {

int32_t DllRegisterServer(void) {
    try {
        RegisterClasses(*ComponentRegistry::Process());
        return QUARN_S_OK;
    } catch (...) {
        return QUARN_SELFREG_E_CLASS;
    }
}

int32_t DllUnregisterServer(void) {
    try {
        UnregisterClasses(*ComponentRegistry::Process());
        return QUARN_S_OK;
    } catch (...) {
        return QUARN_SELFREG_E_CLASS;
    }
}

int32_t DllGetClassObject(const char* classId, QuarnClassObject** object) {
    if (!object) {
        return QUARN_E_POINTER;
    }
    *object = nullptr;
    if (!classId) {
        return QUARN_E_POINTER;
    }
    const ComponentClass* entry = FindClass(classId);
    const auto registry = ComponentRegistry::Process();
    if (!entry || !registry->IsRegistered(entry->progId)) {
        return QUARN_CLASS_E_CLASSNOTAVAILABLE;
    }
    try {
        auto created = registry->CreateObject(entry->progId);
        const auto instance = std::dynamic_pointer_cast<ClassInstance>(created);
        if (!instance) {
            return QUARN_E_FAIL;  // a host registered something else under the identifier
        }
        auto handle = std::make_unique<ClassObjectHandle>();
        handle->instance = instance->Get();
        handle->progId = entry->progId.data();
        handle->Release = &ReleaseHandle;
        handle->object = std::move(created);
        *object = handle.release();
        return QUARN_S_OK;
    } catch (...) {
        return QUARN_E_FAIL;
    }
}

int32_t DllCanUnloadNow(void) {
    return ClassInstance::LiveCount() == 0 ? QUARN_S_OK : QUARN_S_FALSE;
}

}  // extern "C"
