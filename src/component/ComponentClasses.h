#pragma once

#include <memory>
#include <string_view>

#include "host/Component.h"
#include "host/ComponentRegistry.h"

namespace quarn::subsysmgr::component {

/// One class that the component library offers: SubSysGroup, SubSystem, SubSysGroupMgrUI or
/// SubSystemMgrUI.
struct ComponentClass {
    std::string_view classId;
    std::string_view progId;
    /// A new instance of the class; passes on what its constructor raises.
    std::shared_ptr<void> (*create)();
};

/// The class with the identifier (compared without regard to case), or nullptr.
const ComponentClass* FindClass(std::string_view classId);

/// What the registry creates for a class: one instance, counted as alive while this object
/// exists.
class ClassInstance : public Component {
  public:
    explicit ClassInstance(std::shared_ptr<void> instance);
    ~ClassInstance() override;
    ClassInstance(const ClassInstance&) = delete;
    ClassInstance& operator=(const ClassInstance&) = delete;

    void* Get() const { return instance_.get(); }

    /// How many ClassInstance objects exist.
    static int LiveCount();

  private:
    std::shared_ptr<void> instance_;
};

/// Registers every class under its programmatic identifier, and our suite components under
/// theirs where the registry has nothing yet. Passes on failures of the registry.
void RegisterClasses(ComponentRegistry& registry);
/// Removes what RegisterClasses added.
void UnregisterClasses(ComponentRegistry& registry);

}  // namespace quarn::subsysmgr::component
